// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/calendar/year_view.h"

#include "core/calendar/trading_calendar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QBoxLayout>
#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
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
constexpr int kMonthWidth = 7 * kCellWidth;
constexpr int kMonthHeight = kTitleHeight + kWeekdayHeight + 6 * kCellHeight;

const QString kWeekdays[] = {u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};

struct Look {
    DayReason reason;
    QColor fill;
    QString colour; // its name, for a screen reader
};
// Closed weekdays, by why; also the legend's order.
const Look kClosedLooks[] = {
    {DayReason::Announced, QColor(0xE5, 0x73, 0x73), u"红色"_s},
    {DayReason::Statutory, QColor(0xFF, 0xB7, 0x4D), u"橙色"_s},
    {DayReason::MadeUp, QColor(0xBA, 0x8C, 0xDC), u"紫色"_s},
    {DayReason::Customary, QColor(0x8F, 0xCC, 0x8F), u"绿色"_s},
    {DayReason::Own, QColor(0x4D, 0xB6, 0xAC), u"青色"_s},
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

void drawTodayFrame(QPainter& p, const QRect& cell)
{
    p.setPen(QPen(kTodayFrame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell.adjusted(1, 1, -1, -1));
}

void drawChangedDot(QPainter& p, const QRect& cell)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kChangedDot);
    p.drawEllipse(QRect(cell.right() - 5, cell.top() + 1, 4, 4));
    p.setBrush(Qt::NoBrush);
}

// One day of the shown year, by its place in the year, for accessibility clients.
class DayCell : public QAccessibleInterface {
public:
    DayCell(YearView* view, int index) : m_view(view), m_index(index) {}

    QDate date() const { return m_view ? QDate(m_view->year(), 1, 1).addDays(m_index) : QDate(); }
    bool isValid() const override { return m_view && date().year() == m_view->year(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_view->dayText(date()) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect cell = m_view->cellRect(date());
        return {m_view->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        state.selected = isValid() && date() == m_view->selected();
        state.focused = state.selected && m_view->hasFocus();
        return state;
    }

private:
    QPointer<YearView> m_view;
    int m_index;
};

// The grid for accessibility clients: the shown year's days as a list.
class YearViewAccessible : public QAccessibleWidget {
public:
    explicit YearViewAccessible(YearView* view) : QAccessibleWidget(view, QAccessible::List) {}
    ~YearViewAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return u"%1年交易日历"_s.arg(view()->year());
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return QDate(view()->year(), 1, 1).daysInYear(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = m_cells.constFind(index); known != m_cells.cend())
            return QAccessible::accessibleInterface(*known);
        auto* cell = new DayCell(view(), index);
        m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return m_cells.key(QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)), -1);
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        return child(indexOf(view()->dateAt(view()->mapFromGlobal(QPoint(x, y)))));
    }
    QAccessibleInterface* focusChild() const override
    {
        return view()->hasFocus() ? child(indexOf(view()->selected())) : nullptr;
    }

private:
    YearView* view() const { return static_cast<YearView*>(widget()); }
    int indexOf(QDate day) const
    {
        return day.isValid() && day.year() == view()->year() ? int(QDate(day.year(), 1, 1).daysTo(day)) : -1;
    }

    mutable QHash<int, QAccessible::Id> m_cells;
};

QAccessibleInterface* accessibleYearView(const QString& key, QObject* object)
{
    if (key == u"YearView" && object && object->isWidgetType())
        return new YearViewAccessible(static_cast<YearView*>(object));
    return nullptr;
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
    setFocusPolicy(Qt::StrongFocus);
    // The days are painted: the list of them comes from an interface of our own.
    static const bool accessible = (QAccessible::installFactory(accessibleYearView), true);
    Q_UNUSED(accessible);
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
    if (year == m_year)
        return;
    m_year = year;
    update();
    // Every day is another now, and the list's name and length with them: a screen reader reads
    // them afresh.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent days(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&days);
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
    if (hasFocus())
        tellSelected(QAccessible::Focus);
}

void YearView::daysChanged()
{
    update();
    tellSelected(QAccessible::NameChanged);
}

void YearView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    tellSelected(QAccessible::Focus);
}

void YearView::tellSelected(int eventType) const
{
    if (!QAccessible::isActive() || !m_selected.isValid() || m_selected.year() != m_year)
        return;
    QAccessibleEvent event(const_cast<YearView*>(this), QAccessible::Event(eventType));
    event.setChild(int(QDate(m_year, 1, 1).daysTo(m_selected)));
    QAccessible::updateAccessibility(&event);
}

bool YearView::changed(QDate day) const
{
    return m_edited && m_saved && m_saved->reason(day) != m_edited->reason(day);
}

QString YearView::dayText(QDate day) const
{
    if (!m_edited)
        return {};
    QString text = describeDay(*m_edited, day);
    if (day == m_today)
        text += u"，今天"_s;
    if (changed(day))
        text += u"，未保存的修改"_s;
    return text;
}

QSize YearView::sizeHint() const
{
    return {2 * kMargin + 4 * kMonthWidth + 3 * kGapX, 2 * kMargin + 3 * kMonthHeight + 2 * kGapY};
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
            if (changed(day))
                drawChangedDot(p, cell);
            if (day == m_today)
                drawTodayFrame(p, cell.adjusted(-1, -1, 0, 0));
            if (day == m_selected && hasFocus()) {
                p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                p.drawRect(cell.adjusted(1, 1, -2, -2));
            }
        }
    }
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
            QToolTip::showText(help->globalPos(), dayText(day), this, cellRect(day));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

YearLegend::YearLegend(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"YearLegend"_s);
    setAccessibleName(u"图例"_s);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kMargin, 0, kMargin, 0);
    row->setSpacing(4);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    const auto entry = [&](const QColor& fill, const QString& colour, const QString& meaning,
                           void (*mark)(QPainter&, const QRect&) = nullptr) {
        QPixmap swatch(16, 14);
        swatch.fill(fill);
        QPainter p(&swatch);
        p.setPen(kWeekendText);
        p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
        if (mark)
            mark(p, swatch.rect());
        p.end();
        auto* square = new QLabel(this);
        square->setPixmap(swatch);
        square->setAccessibleName(colour);
        auto* text = new QLabel(meaning, this);
        text->setFont(small);
        row->addWidget(square);
        row->addWidget(text);
        row->addSpacing(8);
    };
    entry(Qt::white, u"白色"_s, u"交易日"_s);
    for (const Look& look : kClosedLooks)
        entry(look.fill, look.colour, dayReasonText(look.reason));
    entry(kWeekendFill, u"灰色"_s, dayReasonText(DayReason::Weekend));
    entry(Qt::white, u"蓝框"_s, u"今天"_s, drawTodayFrame);
    entry(Qt::white, u"圆点"_s, u"未保存的修改"_s, drawChangedDot);
    row->addStretch();
}
