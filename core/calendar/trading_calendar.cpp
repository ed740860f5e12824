// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/trading_calendar.h"

#include "core/calendar/statutory_holidays.h"

#include <QSet>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The years HolidayList speaks for.
constexpr int kBuiltInFirstYear = 2009;
constexpr int kBuiltInLastYear = 2010;

bool inHolidayList(QDate date)
{
    return HolidayList.contains(u'/' + DateKey(date) + u'/');
}

} // namespace

const QString HolidayList =
    u"/2009-10-1/2009-10-2/2009-10-5/2009-10-6/2009-10-7/2009-10-8/2010-1-1/2010-2-15/2010-2-16/"
    "2010-2-17/2010-2-18/2010-2-19/2010-4-5/2010-5-3/2010-6-16/2010-6-17/2010-6-18/2010-9-22/"
    "2010-9-23/2010-9-24/2010-10-1/"_s;

QString dayReasonText(DayReason reason)
{
    switch (reason) {
    case DayReason::TradingDay: return {};
    case DayReason::Weekend: return u"周末"_s;
    case DayReason::Announced: return u"交易所公布"_s;
    case DayReason::Statutory: return u"法定节假日"_s;
    case DayReason::MadeUp: return u"法定补假"_s;
    case DayReason::Customary: return u"惯例休市"_s;
    case DayReason::Own: return u"自行设定"_s;
    }
    return {};
}

bool TradingCalendar::IsHoliday(QDate date) const
{
    if (!date.isValid())
        return false;
    const auto mark = m_marks.constFind(date);
    if (mark != m_marks.cend())
        return *mark != DayMark::Open;
    if (inHolidayList(date))
        return true;
    return yearSource(date.year()) == YearSource::WorkedOut && m_byRules.contains(date);
}

DayReason TradingCalendar::reason(QDate date) const
{
    if (!date.isValid() || IsWeekend(date))
        return DayReason::Weekend;
    const auto mark = m_marks.constFind(date);
    if (mark != m_marks.cend()) {
        if (*mark == DayMark::Open)
            return DayReason::TradingDay;
        // The program folder's "closed" lines come with the package: the exchanges' days.
        return *mark == DayMark::ClosedBesideRules && m_own.contains(date) ? DayReason::Own
                                                                           : DayReason::Announced;
    }
    if (inHolidayList(date))
        return DayReason::Announced;
    if (yearSource(date.year()) != YearSource::WorkedOut)
        return DayReason::TradingDay;
    return m_byRules.value(date, DayReason::TradingDay);
}

YearSource TradingCalendar::yearSource(int year) const
{
    if (m_announcedYears.contains(year) || (year >= kBuiltInFirstYear && year <= kBuiltInLastYear))
        return YearSource::Announced;
    return m_ruleYears.contains(year) ? YearSource::WorkedOut : YearSource::Unknown;
}

void TradingCalendar::addClosedDay(QDate date)
{
    if (!date.isValid())
        return;
    m_listed.insert(date, DayMark::Closed);
    marksChanged();
}

QStringList TradingCalendar::addClosedDays(const QString& fileText)
{
    return addHolidays(fileText, &TradingCalendar::m_listed).rejected;
}

QStringList TradingCalendar::addOwnDays(const QString& fileText)
{
    return addHolidays(fileText, &TradingCalendar::m_own).rejected;
}

HolidaysFile::Parsed TradingCalendar::addHolidays(const QString& fileText, DayMarks TradingCalendar::*into)
{
    HolidaysFile::Parsed parsed = HolidaysFile::parse(fileText);
    (this->*into).insert(parsed.marks);
    marksChanged();
    return parsed;
}

QStringList TradingCalendar::loadFile(const QString& path, const CodePage& codePage,
                                      QStringList (TradingCalendar::*add)(const QString&),
                                      const QString& rejectedLine)
{
    const HolidaysFile::Loaded loaded = HolidaysFile::read(path, codePage);
    QStringList problems = loaded.problems;
    if (!loaded.ok)
        return problems;
    for (const QString& line : (this->*add)(loaded.text))
        problems << u"%1: %2, skipped: %3"_s.arg(path, rejectedLine, line);
    return problems;
}

namespace {

const QString kRejectedHolidaysLine = u"not a date, or a date and open or closed after it"_s;

} // namespace

QStringList TradingCalendar::loadClosedDaysFile(const QString& path, const CodePage& codePage)
{
    return loadHolidaysFile(path, codePage, &TradingCalendar::m_listed);
}

QStringList TradingCalendar::loadOwnDaysFile(const QString& path, const CodePage& codePage)
{
    return loadHolidaysFile(path, codePage, &TradingCalendar::m_own);
}

QStringList TradingCalendar::loadHolidaysFile(const QString& path, const CodePage& codePage,
                                              DayMarks TradingCalendar::*into)
{
    const HolidaysFile::Loaded loaded = HolidaysFile::read(path, codePage);
    QStringList problems = loaded.problems;
    if (!loaded.ok) {
        m_unread.append({path, 0, 0});
        return problems;
    }
    const HolidaysFile::Parsed parsed = addHolidays(loaded.text, into);
    for (const QString& line : parsed.rejected)
        problems << u"%1: %2, skipped: %3"_s.arg(path, kRejectedHolidaysLine, line);
    if (!parsed.rejected.isEmpty())
        m_unread.append({path, parsed.rejected.size(), parsed.firstRejected});
    return problems;
}

QString TradingCalendar::unreadNotice() const
{
    QStringList notices;
    for (const UnreadFile& file : m_unread) {
        if (file.skipped == 0)
            notices << u"提示：休市日历文件 %1 读不出来，里面的休市日都没有用上。"_s.arg(file.path);
        else
            notices << u"提示：休市日历文件 %1 有 %2 行读不懂（第一处是第 %3 行），已跳过。"_s.arg(
                file.path, QString::number(file.skipped), QString::number(file.firstLine));
    }
    if (notices.isEmpty())
        return {};
    return notices.join(QString()) +
           u"这些休市日没有用上，程序只按读懂的日子和法定节假日提醒。请在“工具”菜单的“交易日历”里核对休市日，"
           u"补上缺的日子后保存；文件的格式写在它的开头。"_s;
}

bool TradingCalendar::listedAsClosed(QDate date) const
{
    const auto mark = m_listed.constFind(date);
    return mark != m_listed.cend() ? *mark != DayMark::Open : inHolidayList(date);
}

void TradingCalendar::markDay(QDate date, bool closed, const TradingCalendar* saved)
{
    setDay(date, closed, DayMark::ClosedBesideRules, saved);
}

void TradingCalendar::setDay(QDate date, bool closed, DayMark closing, const TradingCalendar* saved)
{
    if (!date.isValid() || IsWeekend(date) || IsHoliday(date) == closed)
        return;
    const DayMarks before = m_own;
    const YearSource source = yearSource(date.year());
    const auto holdsWith = [&](std::optional<DayMark> mark, bool sameSource) {
        if (mark)
            m_own.insert(date, *mark);
        else
            m_own.remove(date);
        marksChanged();
        if (IsHoliday(date) == closed && (!sameSource || yearSource(date.year()) == source))
            return true;
        m_own = before;
        return false;
    };
    // The mark the day had when saved, which may give the year back its list; else none, where
    // the files and the rules give the day already (the year left as it is); else one of its own.
    if (saved) {
        const auto was = saved->m_own.constFind(date);
        if (holdsWith(was != saved->m_own.cend() ? std::optional(*was) : std::nullopt, false))
            return;
    }
    if (holdsWith(std::nullopt, true))
        return;
    m_own.insert(date, closed ? closing : DayMark::Open);
    marksChanged();
}

void TradingCalendar::announceYear(int year, const QList<QDate>& closedDays)
{
    QSet<QDate> closed;
    for (const QDate& day : closedDays) {
        if (day.isValid() && day.year() == year && !IsWeekend(day))
            closed.insert(day);
    }
    if (closed.isEmpty()) // no year is without a closed weekday: nothing was announced
        return;
    for (QDate day(year, 1, 1); day.isValid() && day.year() == year; day = day.addDays(1)) {
        if (IsWeekend(day))
            continue;
        if (closed.contains(day))
            m_own.insert(day, DayMark::Closed);
        // The program folder's file or the built-in list may close the day as well: say it opens.
        else if (listedAsClosed(day))
            m_own.insert(day, DayMark::Open);
        else
            m_own.remove(day);
    }
    marksChanged();
}

namespace {

// Closed weekdays a weekend apart at most (Friday to Monday) belong to one break.
constexpr int kBreakGap = 3;

// Breaks: runs of sorted days, each as [first, last].
QList<std::pair<QDate, QDate>> breaksOf(const QList<QDate>& sorted)
{
    QList<std::pair<QDate, QDate>> breaks;
    for (const QDate& day : sorted) {
        if (!breaks.isEmpty() && breaks.last().second.daysTo(day) <= kBreakGap)
            breaks.last().second = day;
        else
            breaks.append({day, day});
    }
    return breaks;
}

bool near(const std::pair<QDate, QDate>& a, const std::pair<QDate, QDate>& b)
{
    return a.first.addDays(-kBreakGap) <= b.second && b.first <= a.second.addDays(kBreakGap);
}

} // namespace

bool TradingCalendar::applyAnnouncement(int year, const QList<QDate>& closedDays)
{
    QList<QDate> announced;
    for (const QDate& day : closedDays) {
        if (day.isValid() && day.year() == year && !IsWeekend(day) && !announced.contains(day))
            announced.append(day);
    }
    if (announced.isEmpty())
        return false;
    std::sort(announced.begin(), announced.end());
    QList<QDate> current;
    for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
        if (!IsWeekend(day) && IsHoliday(day))
            current.append(day);
    }
    const auto announcedBreaks = breaksOf(announced);
    const auto currentBreaks = breaksOf(current);
    const auto namedBy = [&](const std::pair<QDate, QDate>& b) {
        return std::any_of(announcedBreaks.cbegin(), announcedBreaks.cend(),
                           [&](const auto& a) { return near(a, b); });
    };
    if (std::all_of(currentBreaks.cbegin(), currentBreaks.cend(), namedBy)) {
        announceYear(year, announced);
        return true;
    }
    // Only the breaks it names: their days as announced, the rest of the year untouched. In a
    // worked-out year they close beside the rules. Each is the exchanges' day, also one the rules
    // or the trader had closed already.
    const DayMark closing =
        yearSource(year) == YearSource::Announced ? DayMark::Closed : DayMark::AnnouncedBesideRules;
    for (const auto& b : currentBreaks) {
        if (!namedBy(b))
            continue;
        for (QDate day = b.first; day <= b.second; day = day.addDays(1))
            setDay(day, announced.contains(day), closing);
    }
    for (const QDate& day : announced) {
        setDay(day, true, closing);
        if (reason(day) != DayReason::Announced) {
            m_own.insert(day, closing);
            marksChanged();
        }
    }
    return false;
}

void TradingCalendar::marksChanged()
{
    for (auto it = m_own.begin(); it != m_own.end();) {
        const auto listed = m_listed.constFind(it.key());
        if (listed != m_listed.cend() && *listed == it.value())
            it = m_own.erase(it);
        else
            ++it;
    }
    m_marks = m_listed;
    m_marks.insert(m_own);
    m_announcedYears.clear();
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        if (it.value() == DayMark::Closed)
            m_announcedYears.insert(it.key().year());
    }
    m_lastYear =
        m_announcedYears.isEmpty() ? 0 : *std::max_element(m_announcedYears.begin(), m_announcedYears.end());
}

QStringList TradingCalendar::addFestivalDates(const QString& fileText)
{
    QMap<int, FestivalDates> years;
    const QStringList rejected = parseFestivalDates(fileText, years);
    for (auto it = years.cbegin(); it != years.cend(); ++it) {
        // A day with more than one reason shows the first.
        for (const QDate& day : statutoryHolidayWeekdays(it.key(), it.value()))
            m_byRules.insert(day, DayReason::Statutory);
        for (const QDate& day : madeUpWeekdays(it.key(), it.value())) {
            if (!m_byRules.contains(day))
                m_byRules.insert(day, DayReason::MadeUp);
        }
        for (const QDate& day : customaryBreakWeekdays(it.key(), it.value())) {
            if (!m_byRules.contains(day))
                m_byRules.insert(day, DayReason::Customary);
        }
        m_ruleYears.insert(it.key());
    }
    return rejected;
}

QStringList TradingCalendar::loadFestivalDatesFile(const QString& path, const CodePage& codePage)
{
    return loadFile(path, codePage, &TradingCalendar::addFestivalDates, u"not a year of festival dates"_s);
}

QString TradingCalendar::outdatedNotice(QDate today) const
{
    if (m_lastYear == 0 || today.year() <= m_lastYear)
        return {};
    if (!m_ruleYears.contains(today.year()))
        return u"提示：休市日历只到%1年，今年的节假日休市还不知道。请在“工具”菜单的“交易日历”里补上今年的休市日：可以粘贴交易所的休市公告，也可以逐日点选，核对后保存。"_s
            .arg(m_lastYear);
    // The calendar window writes the whole year, as announced, to the holidays file.
    return u"提示：休市日历只到%1年，%2年的休市日是按法定节假日推算的；调休放假的日子要等交易所公布。"
           u"公布后请在“工具”菜单的“交易日历”里粘贴交易所的休市公告（也可以逐日点选），核对后保存。"_s
               .arg(m_lastYear)
               .arg(today.year());
}
