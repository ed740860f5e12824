// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/calendar/year_view.h"

#include "core/calendar/trading_calendar.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCellWidth = 24;
constexpr int kCellHeight = 18;
constexpr int kTitleHeight = 20;
constexpr int kWeekdayHeight = 16;
constexpr int kGapX = 14;
constexpr int kGapY = 10;
constexpr int kMargin = 6;
constexpr int kLegendHeight = 26;
constexpr int kMonthWidth = 7 * kCellWidth;
constexpr int kMonthHeight = kTitleHeight + kWeekdayHeight + 6 * kCellHeight;

const QString kWeekdays[] = {u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};

struct Look {
    DayReason reason;
    QColor fill;
};
// Closed weekdays, by why; also the legend's order.
const Look kClosedLooks[] = {
    {DayReason::Announced, QColor(0xE5, 0x73, 0x73)}, {DayReason::Statutory, QColor(0xFF, 0xB7, 0x4D)},
    {DayReason::MadeUp, QColor(0xBA, 0x8C, 0xDC)},    {DayReason::Customary, QColor(0x8F, 0xCC, 0x8F)},
    {DayReason::Own, QColor(0x4D, 0xB6, 0xAC)},
};
const QColor kWeekendFill(0xEE, 0xEE, 0xEE);
const QColor kWeekendText(0x99, 0x99, 0x99);
const QColor kTodayFrame(0x1A, 0x5F, 0xD0);
const QColor kChangedDot(0x20, 0x20, 0x80);

QColor fillFor(DayReason reason)
{
    for (const Look& look : kClosedLooks)
        if (look.reason == reason)
            return look.fill;
    return reason == DayReason::Weekend ? kWeekendFill : QColor(Qt::white);
}

// Monday first: the grid's column of a day.
int column(QDate day)
{
    return day.dayOfWeek() - 1;
}

} // namespace

QString describeDay(const TradingCalendar& calendar, QDate day)
{
    const QString date = u"%1年%2月%3日 星期%4"_s.arg(day.year())
                             .arg(day.month())
                             .arg(day.day())
                             .arg(kWeekdays[day.dayOfWeek() - 1]);
    const DayReason reason = calendar.reason(day);
    if (reason == DayReason::TradingDay)
        return date + u"：交易日"_s;
    return date + u"：休市（"_s + dayReasonText(reason) + u"）"_s;
}

YearView::YearView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"YearView"_s);
    setAccessibleName(u"交易日历"_s);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

void YearView::setCalendars(const TradingCalendar* edited, const TradingCalendar* saved)
{
    m_edited = edited;
    m_saved = saved;
    update();
}

void YearView::setYear(int year)
{
    m_year = year;
    update();
}

void YearView::setToday(QDate today)
{
    m_today = today;
    update();
}

void YearView::setSelected(QDate day)
{
    m_selected = day;
    update();
}

QSize YearView::sizeHint() const
{
    return {2 * kMargin + 4 * kMonthWidth + 3 * kGapX,
            2 * kMargin + 3 * kMonthHeight + 2 * kGapY + kLegendHeight};
}

QRect YearView::monthRect(int month) const
{
    const int index = month - 1;
    return {kMargin + (index % 4) * (kMonthWidth + kGapX), kMargin + (index / 4) * (kMonthHeight + kGapY),
            kMonthWidth, kMonthHeight};
}

QRect YearView::cellRect(QDate day) const
{
    if (!day.isValid() || day.year() != m_year)
        return {};
    const QRect month = monthRect(day.month());
    const int offset = column(QDate(day.year(), day.month(), 1));
    const int slot = offset + day.day() - 1;
    return {month.left() + (slot % 7) * kCellWidth,
            month.top() + kTitleHeight + kWeekdayHeight + (slot / 7) * kCellHeight, kCellWidth, kCellHeight};
}

QDate YearView::dateAt(QPoint point) const
{
    for (int month = 1; month <= 12; ++month) {
        if (!monthRect(month).contains(point))
            continue;
        for (QDate day(m_year, month, 1); day.month() == month; day = day.addDays(1))
            if (cellRect(day).contains(point))
                return day;
    }
    return {};
}

void YearView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_edited)
        return;
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    for (int month = 1; month <= 12; ++month) {
        const QRect m = monthRect(month);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(QRect(m.left(), m.top(), m.width(), kTitleHeight), Qt::AlignCenter, u"%1月"_s.arg(month));
        p.setFont(small);
        for (int c = 0; c < 7; ++c) {
            p.setPen(c >= 5 ? kWeekendText : palette().color(QPalette::WindowText));
            p.drawText(QRect(m.left() + c * kCellWidth, m.top() + kTitleHeight, kCellWidth, kWeekdayHeight),
                       Qt::AlignCenter, kWeekdays[c]);
        }
        for (QDate day(m_year, month, 1); day.month() == month; day = day.addDays(1)) {
            const QRect cell = cellRect(day).adjusted(1, 1, -1, -1);
            const DayReason reason = m_edited->reason(day);
            p.fillRect(cell, fillFor(reason));
            p.setPen(reason == DayReason::Weekend ? kWeekendText : QColor(Qt::black));
            p.drawText(cell, Qt::AlignCenter, QString::number(day.day()));
            if (m_saved && m_saved->reason(day) != reason) {
                p.setPen(Qt::NoPen);
                p.setBrush(kChangedDot);
                p.drawEllipse(QRect(cell.right() - 5, cell.top() + 1, 4, 4));
                p.setBrush(Qt::NoBrush);
            }
            if (day == m_today) {
                p.setPen(QPen(kTodayFrame, 2));
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
            if (day == m_selected && hasFocus()) {
                p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                p.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
    }

    // The legend: what each colour means.
    p.setFont(small);
    int x = kMargin;
    const int y = height() - kMargin - kLegendHeight + 6;
    const auto entry = [&](const QColor& fill, const QString& text, bool frame = false, bool dot = false) {
        const QRect swatch(x, y, 16, 14);
        p.fillRect(swatch, fill);
        p.setPen(kWeekendText);
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
        if (frame) {
            p.setPen(QPen(kTodayFrame, 2));
            p.drawRect(swatch.adjusted(1, 1, -1, -1));
        }
        if (dot) {
            p.setPen(Qt::NoPen);
            p.setBrush(kChangedDot);
            p.drawEllipse(QRect(swatch.right() - 5, swatch.top() + 1, 4, 4));
            p.setBrush(Qt::NoBrush);
        }
        p.setPen(palette().color(QPalette::WindowText));
        const QRect label(x + 20, y - 2, fontMetrics().horizontalAdvance(text) + 4, 18);
        p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text);
        x = label.right() + 14;
    };
    entry(Qt::white, u"交易日"_s);
    for (const Look& look : kClosedLooks)
        entry(look.fill, dayReasonText(look.reason));
    entry(kWeekendFill, dayReasonText(DayReason::Weekend));
    entry(Qt::white, u"今天"_s, true);
    entry(Qt::white, u"未保存的修改"_s, false, true);
}

void YearView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QDate day = dateAt(event->position().toPoint());
    if (!day.isValid())
        return;
    setSelected(day);
    emit dayActivated(day);
}

void YearView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: emit selectRequested(m_selected.addDays(-1)); break;
    case Qt::Key_Right: emit selectRequested(m_selected.addDays(1)); break;
    case Qt::Key_Up: emit selectRequested(m_selected.addDays(-7)); break;
    case Qt::Key_Down: emit selectRequested(m_selected.addDays(7)); break;
    case Qt::Key_PageUp: emit selectRequested(m_selected.addYears(-1)); break;
    case Qt::Key_PageDown: emit selectRequested(m_selected.addYears(1)); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: emit dayActivated(m_selected); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

bool YearView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_edited) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QDate day = dateAt(help->pos());
        if (day.isValid())
            QToolTip::showText(help->globalPos(), describeDay(*m_edited, day), this, cellRect(day));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
