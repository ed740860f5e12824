// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/calendar/calendar_window.h"

#include "core/calendar/announcement.h"
#include "core/calendar/calendar_keeper.h"
#include "ui/calendar/year_view.h"
#include "widgets/named_controls.h"
#include "widgets/program_icon.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QDir>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

using namespace Qt::StringLiterals;

namespace {

QString sourceText(const TradingCalendar& calendar, int year)
{
    switch (calendar.yearSource(year)) {
    case YearSource::Announced: return u"%1年的休市日是交易所公布的。"_s.arg(year);
    case YearSource::WorkedOut:
        return u"%1年的休市日是按法定节假日推算的：法定节假日、法定补假，加上春节和国庆的惯例休市。"
               "调休放假的日子要等交易所公布。公布后请把公告粘贴到右边，或者逐日点选，核对后保存。"_s.arg(
                   year);
    case YearSource::Unknown: break;
    }
    return u"%1年没有节假日资料，只知道周末休市。请把交易所的休市公告粘贴到右边，或者逐日点选，核对后保存。"_s
        .arg(year);
}

// Asks for room for all it holds, not the few lines a scroll area asks for.
class WholeScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        if (!widget())
            return QScrollArea::sizeHint();
        QSize all = widget()->sizeHint();
        // Wrapped lines need more height at that width than the hint says.
        if (widget()->hasHeightForWidth())
            all.setHeight(qMax(all.height(), widget()->heightForWidth(all.width())));
        const int frame = 2 * frameWidth();
        return all + QSize(frame, frame);
    }
};

} // namespace

CalendarWindow::CalendarWindow(CalendarKeeper& keeper, QWidget* parent)
    : QWidget(parent, Qt::Window), m_keeper(keeper), m_edited(keeper.calendar()),
      m_today(keeper.exchangeToday())
{
    setObjectName(u"CalendarWindow"_s);
    setWindowTitle(u"交易日历"_s);
    setWindowIcon(programIcon());
    askYear = [this](QWidget* owner, int suggested) {
        bool ok = false;
        const int chosen =
            QInputDialog::getInt(owner, u"交易日历"_s, u"公告里没有写年份。这是哪一年的公告？"_s, suggested,
                                 kFirstYear, lastYear(), 1, &ok);
        return ok ? chosen : 0;
    };
    buildControls();
    select(m_today.isValid() ? m_today : QDate(kFirstYear, 1, 1));
    grid->setFocus();
    // Room for all of it, its texts in; where it opens, the screen may make it smaller
    // (widgets/window_placement.h).
    resize(sizeHint());
}

int CalendarWindow::lastYear() const
{
    return qMax(m_today.year(), kFirstYear) + 10;
}

void CalendarWindow::buildControls()
{
    grid = new YearView(this);
    grid->setCalendars(&m_edited, &m_keeper.calendar());
    grid->setToday(m_today);
    connect(grid, &YearView::dayActivated, this, &CalendarWindow::toggleDay);
    connect(grid, &YearView::selectRequested, this, &CalendarWindow::select);

    const auto button = [this](const char* name, const QString& caption) {
        return namedButton(this, name, caption);
    };
    const auto label = [this](const char* name) { return namedLabel(this, name); };
    previousYear = button("previousYear", u"◀ 上一年"_s);
    nextYear = button("nextYear", u"下一年 ▶"_s);
    yearLabel = label("yearLabel");
    yearLabel->setWordWrap(false);
    QFont big = yearLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    yearLabel->setFont(big);
    yearSource = label("yearSource");
    dayInfo = label("dayInfo");
    status = label("status");
    announcement = new QPlainTextEdit(this);
    announcement->setObjectName(u"announcement"_s);
    announcement->setAccessibleName(u"交易所的休市公告"_s);
    announcement->setPlaceholderText(
        u"例如：2027年1月1日（星期五）至1月3日（星期日）休市，1月4日（星期一）起照常开市。"_s);
    announcement->setTabChangesFocus(true);
    readButton = button("readAnnouncement", u"识别公告"_s);
    saveButton = button("saveCalendar", u"保存"_s);
    closeButton = button("closeCalendar", u"关闭"_s);
    connect(previousYear, &QPushButton::clicked, this, [this] { showYear(year() - 1); });
    connect(nextYear, &QPushButton::clicked, this, [this] { showYear(year() + 1); });
    connect(readButton, &QPushButton::clicked, this, &CalendarWindow::readAnnouncement);
    connect(saveButton, &QPushButton::clicked, this, &CalendarWindow::saveChanges);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* top = new QHBoxLayout;
    top->addWidget(previousYear);
    top->addWidget(yearLabel);
    top->addWidget(nextYear);
    top->addStretch();

    auto* side = new QVBoxLayout;
    side->addWidget(dayInfo);
    auto* pasteHere = new QLabel(u"交易所（或国务院）的休市公告，粘贴在这里："_s, this);
    pasteHere->setWordWrap(true);
    pasteHere->setBuddy(announcement);
    side->addSpacing(8);
    side->addWidget(pasteHere);
    side->addWidget(announcement, 1);
    side->addWidget(readButton, 0, Qt::AlignRight);
    side->addWidget(status);

    legend = new YearLegend(this);
    auto* days = new QVBoxLayout;
    days->addWidget(grid);
    days->addWidget(legend);
    days->addStretch();

    // The days and the announcement scroll where the screen is smaller than they are; the year
    // above them and 保存 and 关闭 below stay in view.
    auto* body = new QWidget(this);
    auto* middle = new QHBoxLayout(body);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addLayout(days);
    middle->addLayout(side, 1);
    auto* scroll = new WholeScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(saveButton);
    bottom->addWidget(closeButton);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(yearSource);
    all->addWidget(scroll, 1);
    all->addLayout(bottom);
    // The keys' order: the days, the announcement and reading it, saving, the years.
    QWidget* const order[] = {grid,        announcement, readButton, saveButton,
                              closeButton, previousYear, nextYear};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    dayInfo->setMinimumWidth(220);
    yearSource->setMinimumHeight(yearSource->fontMetrics().lineSpacing() * 2);
}

int CalendarWindow::year() const
{
    return grid->year();
}

void CalendarWindow::showYear(int year)
{
    year = qBound(kFirstYear, year, lastYear());
    QDate day = grid->selected();
    day = QDate(year, day.isValid() ? day.month() : 1, 1);
    if (grid->selected().isValid())
        day = day.addDays(qMin(grid->selected().day(), day.daysInMonth()) - 1);
    select(day);
}

void CalendarWindow::select(QDate day)
{
    if (!day.isValid() || day.year() < kFirstYear || day.year() > lastYear())
        return;
    grid->setYear(day.year());
    grid->setSelected(day);
    refresh();
}

void CalendarWindow::refresh()
{
    const int shown = year();
    yearLabel->setText(u"%1年"_s.arg(shown));
    yearSource->setText(sourceText(m_edited, shown));
    previousYear->setEnabled(shown > kFirstYear);
    nextYear->setEnabled(shown < lastYear());
    const QDate day = grid->selected();
    QString info = describeDay(m_edited, day);
    if (!IsWeekend(day))
        info += m_edited.IsHoliday(day) ? u"。点一下（或按空格）改为开市。"_s
                                        : u"。点一下（或按空格）改为休市。"_s;
    dayInfo->setText(info);
    saveButton->setEnabled(hasChanges());
    grid->daysChanged();
}

bool CalendarWindow::hasChanges() const
{
    return m_edited.ownMarks() != m_keeper.calendar().ownMarks();
}

void CalendarWindow::toggleDay(QDate day)
{
    select(day);
    if (IsWeekend(day)) {
        status->setText(u"周末总是休市。"_s);
        return;
    }
    m_edited.markDay(day, !m_edited.IsHoliday(day), &m_keeper.calendar());
    refresh();
    status->setText(describeDay(m_edited, day) + u"。核对后请按“保存”。"_s);
}

void CalendarWindow::readAnnouncement()
{
    const QString text = announcement->toPlainText();
    AnnouncedDays found = parseAnnouncement(text);
    if (found.yearMissing) {
        const int given = askYear ? askYear(this, year()) : 0;
        if (given == 0) {
            status->setText(u"公告里的日期没有写年份，没有年份就没法识别，日历没有改动。"_s);
            return;
        }
        found = parseAnnouncement(text, given);
    }
    QStringList unread;
    for (const auto& [what, why] : found.unread)
        unread << u"“%1”（%2）"_s.arg(what, why);
    const QString unreadNote =
        unread.isEmpty() ? QString()
                         : u"\n没有用上的日期：%1。请对照公告逐日点选。"_s.arg(unread.join(u"；"_s));
    QMap<int, QList<QDate>> byYear;
    for (const QDate& day : found.weekdays)
        byYear[day.year()] << day;
    if (byYear.isEmpty()) {
        // Each case its own words: the trader pasted the wrong text, or the right one we misread.
        const QString why = !found.anyDate
                                ? u"公告里没有找到像日期的文字（例如“2027年1月1日”或“2027-01-01”）"_s
                            : !unread.isEmpty() ? u"公告里写着休市的日期一个也没能用上"_s
                            : !found.anyClosedDate ? u"公告里找到了日期，但后面都没有写“休市”或“放假”"_s
                                                   : u"公告里写着休市的日期都是周末（周末本来就休市）"_s;
        status->setText(why + u"，日历没有改动。"_s + unreadNote);
        return;
    }
    QStringList years;
    for (auto it = byYear.cbegin(); it != byYear.cend(); ++it) {
        const bool wholeYear = m_edited.applyAnnouncement(it.key(), it.value());
        years << (wholeYear ? u"%1年全年的假期"_s : u"%1年的部分假期，其余的假期不变"_s).arg(it.key());
    }
    select(found.weekdays.first());
    const QString done = hasChanges() ? u"已在日历上标出，带圆点的是改动。核对后请按“保存”。"_s
                                      : u"和日历上已有的一样，不用保存。"_s;
    status->setText(u"从公告里找到%1个休市的工作日（%2），%3"_s.arg(found.weekdays.size())
                        .arg(years.join(u"；"_s), done) +
                    unreadNote);
}

bool CalendarWindow::saveChanges()
{
    QString why;
    if (!m_keeper.saveCalendar(m_edited, &why)) {
        // The copy keeps the trader's work; he may try again (or elsewhere, once the folder is
        // writable).
        QMessageBox::warning(this, u"保存休市日历失败"_s,
                             u"休市日历未能保存到文件：\n%1\n\n原因：%2\n\n修改还在窗口里，没有丢失。"_s.arg(
                                 QDir::toNativeSeparators(m_keeper.calendarPath()), why));
        status->setText(u"没有保存：%1"_s.arg(why));
        return false;
    }
    m_edited = m_keeper.calendar();
    refresh();
    status->setText(
        u"已保存到 %1。从下一秒起按新的日历提醒。"_s.arg(QDir::toNativeSeparators(m_keeper.calendarPath())));
    return true;
}

void CalendarWindow::keyPressEvent(QKeyEvent* event)
{
    // The days' keys are the grid's, while it has the focus.
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    close();
    event->accept();
}

void CalendarWindow::closeEvent(QCloseEvent* event)
{
    if (hasChanges()) {
        const auto answer = QMessageBox::question(
            this, u"交易日历"_s, u"交易日历里的修改还没有保存。保存吗？"_s,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !saveChanges())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
