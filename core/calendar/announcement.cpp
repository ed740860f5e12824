// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/announcement.h"

#include "core/calendar/trading_calendar.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kAnchored = QRegularExpression::AnchorAtOffsetMatchOption;
constexpr auto kNormal = QRegularExpression::NormalMatch;
constexpr qint64 kLongestRange = 31;
// How far after a date its 休市 or 放假 may stand ("为周末休市", "放假调休").
constexpr qsizetype kKeywordReach = 24;

// "2024年1月1日", "1月1号", "2024-01-01", "2024/1/1".
const QRegularExpression& datePattern()
{
    static const QRegularExpression re(
        uR"((?:(\d{4})\s*年\s*)?(\d{1,2})\s*月\s*(\d{1,2})\s*[日号]|(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?!\d))"_s);
    return re;
}

const QRegularExpression& dayOnlyPattern()
{
    static const QRegularExpression re(uR"((\d{1,2})\s*[日号])"_s);
    return re;
}

// "（星期五）", "（农历除夕）" after a date.
const QRegularExpression& fillerPattern()
{
    static const QRegularExpression re(uR"(\s*(?:\([^()]{0,12}\)\s*)?)"_s);
    return re;
}

const QRegularExpression& connectorPattern()
{
    static const QRegularExpression re(uR"(\s*(?:起\s*)?(?:至|到|~|〜|—+|–|―|-)\s*)"_s);
    return re;
}

const QRegularExpression& separatorPattern()
{
    static const QRegularExpression re(uR"(\s*(?:以及|、|,|和|及|与)\s*)"_s);
    return re;
}

// A year on its own ("关于2024年部分节假日"), not the start of a whole date.
const QRegularExpression& yearPattern()
{
    static const QRegularExpression re(uR"((\d{4})\s*年(?!\s*\d{1,2}\s*月\s*\d{1,2}\s*[日号]))"_s);
    return re;
}

const QRegularExpression& clauseEndPattern()
{
    static const QRegularExpression re(uR"([。；;！!？?,\n])"_s);
    return re;
}

// Full-width digits and punctuation as ASCII: one character for one, so positions still agree.
QString normalized(const QString& text)
{
    QString t = text;
    for (QChar& c : t) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QChar(u' ');
    }
    return t;
}

struct DateParts {
    int year = 0; // 0: not written
    int month = 0;
    int day = 0;
};

DateParts partsOf(const QRegularExpressionMatch& m)
{
    if (m.capturedLength(2) > 0)
        return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
    return {m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()};
}

// The only range a holiday runs over the new year with.
bool overNewYear(const DateParts& start, const DateParts& end)
{
    return start.month == 12 && end.month == 1;
}

struct Item {
    QDate first;
    QDate last;
    bool yearKnown = true;
    QString unread; // why it names no days
    qsizetype start = 0;
    qsizetype end = 0;
};

class Reader {
public:
    Reader(const QString& text, int year) : m_original(text), m_text(normalized(text)), m_given(year)
    {
        auto it = yearPattern().globalMatch(m_text);
        while (it.hasNext()) {
            const auto m = it.next();
            m_mentions.append({m.capturedStart(), m.captured(1).toInt()});
        }
    }

    AnnouncedDays read()
    {
        AnnouncedDays result;
        qsizetype pos = 0;
        for (auto m = datePattern().match(m_text, pos); m.hasMatch(); m = datePattern().match(m_text, pos)) {
            result.anyDate = true;
            pos = m.capturedStart();
            takeMentionsBefore(pos);
            QList<Item> group;
            Item item;
            readItem(pos, item);
            group << item;
            for (;;) {
                const auto sep = separatorPattern().match(m_text, pos, kNormal, kAnchored);
                qsizetype next = sep.hasMatch() ? sep.capturedEnd() : -1;
                if (next < 0 || !readItem(next, item))
                    break;
                group << item;
                pos = next;
            }
            if (!closedAfter(pos))
                continue;
            result.anyClosedDate = true;
            for (const Item& i : group) {
                if (!i.unread.isEmpty())
                    result.unread.append({m_original.mid(i.start, i.end - i.start), i.unread});
                result.yearMissing = result.yearMissing || !i.yearKnown;
                for (QDate d = i.first; d.isValid() && d <= i.last; d = d.addDays(1)) {
                    if (!IsWeekend(d))
                        result.weekdays << d;
                }
            }
        }
        std::sort(result.weekdays.begin(), result.weekdays.end());
        result.weekdays.erase(std::unique(result.weekdays.begin(), result.weekdays.end()),
                              result.weekdays.end());
        return result;
    }

private:
    void takeMentionsBefore(qsizetype pos)
    {
        while (m_nextMention < m_mentions.size() && m_mentions[m_nextMention].first < pos)
            m_current = m_mentions[m_nextMention++].second;
    }

    void skipFiller(qsizetype& pos) const
    {
        pos = fillerPattern().match(m_text, pos, kNormal, kAnchored).capturedEnd();
    }

    // A date or a range starting at pos; pos moves past it. An item that names no real days
    // comes back empty.
    bool readItem(qsizetype& pos, Item& item)
    {
        const auto m = datePattern().match(m_text, pos, kNormal, kAnchored);
        if (!m.hasMatch())
            return false;
        const DateParts start = partsOf(m);
        DateParts end = start;
        const qsizetype first = m.capturedStart();
        qsizetype last = m.capturedEnd();
        pos = m.capturedEnd();
        skipFiller(pos);
        const auto connector = connectorPattern().match(m_text, pos, kNormal, kAnchored);
        if (connector.hasMatch()) {
            const qsizetype after = connector.capturedEnd();
            const auto whole = datePattern().match(m_text, after, kNormal, kAnchored);
            const auto dayOnly = dayOnlyPattern().match(m_text, after, kNormal, kAnchored);
            if (whole.hasMatch()) {
                end = partsOf(whole);
                pos = last = whole.capturedEnd();
                skipFiller(pos);
            } else if (dayOnly.hasMatch()) {
                end = {0, start.month, dayOnly.captured(1).toInt()};
                pos = last = dayOnly.capturedEnd();
                skipFiller(pos);
            }
        }
        item = resolve(start, end);
        item.start = first;
        item.end = last;
        return true;
    }

    Item resolve(const DateParts& start, const DateParts& end)
    {
        int firstYear = start.year;
        int lastYear = end.year;
        const bool newYear = overNewYear(start, end);
        if (firstYear == 0 && lastYear == 0) {
            // A notice names its new year's days before the rest: 12月30日至1月1日 ends in its year.
            const int year = m_current != 0 ? m_current : m_given;
            if (year == 0) {
                Item unknown;
                unknown.yearKnown = false;
                return unknown;
            }
            firstYear = newYear ? year - 1 : year;
            lastYear = year;
        } else if (firstYear == 0) {
            firstYear = newYear ? lastYear - 1 : lastYear;
        } else if (lastYear == 0) {
            lastYear = newYear ? firstYear + 1 : firstYear;
        }
        if (start.year != 0 || end.year != 0)
            m_current = lastYear;
        const QDate first(firstYear, start.month, start.day);
        const QDate last(lastYear, end.month, end.day);
        Item item;
        if (!first.isValid() || !last.isValid())
            item.unread = u"没有这一天"_s;
        else if (first > last)
            item.unread = u"结束的日子在开始的日子之前"_s;
        else if (first.daysTo(last) > kLongestRange)
            item.unread = u"超过%1天，不像一次休市"_s.arg(kLongestRange);
        if (item.unread.isEmpty()) {
            item.first = first;
            item.last = last;
        }
        return item;
    }

    // 休市 or 放假 after pos, before the clause ends or the next date begins.
    bool closedAfter(qsizetype pos) const
    {
        qsizetype stop = qMin(m_text.size(), pos + kKeywordReach);
        const auto next = datePattern().match(m_text, pos);
        if (next.hasMatch())
            stop = qMin(stop, next.capturedStart());
        const auto clauseEnd = clauseEndPattern().match(m_text, pos);
        if (clauseEnd.hasMatch())
            stop = qMin(stop, clauseEnd.capturedStart());
        const QStringView window = QStringView(m_text).mid(pos, qMax<qsizetype>(0, stop - pos));
        return window.contains(u"休市") || window.contains(u"放假");
    }

    QString m_original;
    QString m_text;
    int m_given;
    int m_current = 0;
    QList<std::pair<qsizetype, int>> m_mentions;
    qsizetype m_nextMention = 0;
};

} // namespace

AnnouncedDays parseAnnouncement(const QString& text, int year)
{
    return Reader(text, year).read();
}
