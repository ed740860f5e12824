// SPDX-License-Identifier: GPL-3.0-or-later
// The trading calendar on any date that QDate accepts and on any holidays-file text.
//
// Input: byte 0 picks how the date is made (0: a Julian day from 8 bytes, 1: year, month and
// day from three 4-byte integers, 2: a 2-byte day offset from 2009-01-01), then those bytes,
// little-endian; the rest is the text of a holidays file (UTF-8).

#include "core/calendar/announcement.h"
#include "core/calendar/trading_calendar.h"

#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const char* what, QDate date)
{
    std::fprintf(stderr, "fuzz_calendar: %s\n  date: julian day %lld, %d-%d-%d, key %s\n", what,
                 static_cast<long long>(date.toJulianDay()), date.year(), date.month(), date.day(),
                 qUtf8Printable(DateKey(date)));
    std::abort();
}

void check(bool ok, const char* what, QDate date)
{
    if (!ok)
        fail(what, date);
}

// The exchange holidays of 2009 and 2010, all weekdays; no other date is one without a file.
bool listedHoliday(QDate date)
{
    static const std::array<QDate, 21> listed = {
        QDate(2009, 10, 1), QDate(2009, 10, 2), QDate(2009, 10, 5), QDate(2009, 10, 6), QDate(2009, 10, 7),
        QDate(2009, 10, 8), QDate(2010, 1, 1),  QDate(2010, 2, 15), QDate(2010, 2, 16), QDate(2010, 2, 17),
        QDate(2010, 2, 18), QDate(2010, 2, 19), QDate(2010, 4, 5),  QDate(2010, 5, 3),  QDate(2010, 6, 16),
        QDate(2010, 6, 17), QDate(2010, 6, 18), QDate(2010, 9, 22), QDate(2010, 9, 23), QDate(2010, 9, 24),
        QDate(2010, 10, 1),
    };
    return std::find(listed.begin(), listed.end(), date) != listed.end();
}

// Sunday first, from the Julian day alone: day 0 was a Monday.
int expectedWeekday(qint64 julianDay)
{
    const qint64 mondayBased = ((julianDay % 7) + 7) % 7; // 0 Monday ... 6 Sunday
    return static_cast<int>((mondayBased + 1) % 7) + 1;
}

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    template <typename T> T take()
    {
        std::array<std::uint8_t, sizeof(T)> bytes{};
        for (std::size_t i = 0; i < sizeof(T) && pos < size; ++i)
            bytes[i] = data[pos++];
        std::uint64_t value = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            value = (value << 8) | bytes[i];
        T out;
        std::memcpy(&out, &value, sizeof(T)); // little-endian host
        return out;
    }
};

QDate makeDate(Reader& in)
{
    switch (in.take<std::uint8_t>() % 3) {
    case 0: return QDate::fromJulianDay(in.take<std::int64_t>());
    case 1: {
        const auto y = in.take<std::int32_t>();
        const auto m = in.take<std::int32_t>();
        const auto d = in.take<std::int32_t>();
        return QDate(y, m, d);
    }
    default: return QDate(2009, 1, 1).addDays(in.take<std::int16_t>());
    }
}

void checkDate(QDate date, const TradingCalendar& fresh)
{
    // Invalid dates (out of range, 2010-2-30) need only not crash.
    if (!date.isValid()) {
        (void)DateKey(date);
        (void)WeekdayNumber(date);
        (void)IsWeekend(date);
        (void)fresh.IsHoliday(date);
        return;
    }

    static const QRegularExpression keyForm(u"^(-?)([0-9]{4,})-([0-9]{1,2})-([0-9]{1,2})$"_s);
    const QString key = DateKey(date);
    const auto m = keyForm.match(key);
    check(m.hasMatch(), "DateKey is not year-month-day", date);
    const qint64 year = (m.captured(1).isEmpty() ? 1 : -1) * m.captured(2).toLongLong();
    check(year == date.year() && m.captured(3).toInt() == date.month() && m.captured(4).toInt() == date.day(),
          "DateKey does not read back as the date", date);
    check(m.captured(2).size() == 4 || !m.captured(2).startsWith(u'0'), "DateKey pads a long year", date);
    check(!m.captured(3).startsWith(u'0') && !m.captured(4).startsWith(u'0'), "DateKey pads month or day",
          date);

    const int weekday = WeekdayNumber(date);
    check(weekday == expectedWeekday(date.toJulianDay()), "WeekdayNumber is not the day of the week", date);
    check(IsWeekend(date) == (weekday == 1 || weekday == 7), "IsWeekend disagrees with WeekdayNumber", date);

    const bool holiday = fresh.IsHoliday(date);
    check(holiday == listedHoliday(date), "IsHoliday without a file is not the fixed list", date);
    check(!holiday || (date.year() >= 2009 && date.year() <= 2010), "a holiday outside 2009 and 2010", date);
    check(!holiday || !IsWeekend(date), "a listed holiday on a weekend", date);

    const QDate tomorrow = date.addDays(1);
    if (tomorrow.isValid())
        check(WeekdayNumber(tomorrow) == weekday % 7 + 1, "tomorrow is not the next weekday", date);
}

// What a holidays file says, read independently: "yyyy-mm-dd", optionally followed by blanks and
// "open", "closed" or "announced" in any case, a line; "#" comments, blank lines and a byte-order mark at the
// start ignored; a later line about a day wins.
struct FileOracle {
    QMap<QDate, int> marks; // 0 closed, 1 closed beside the rules, 2 open, 3 announced beside them
    int lastYear = 0;
    qsizetype rejected = 0;
    qsizetype lines = 0;
};

bool isoDateShape(QStringView text)
{
    bool shape = text.size() == 10 && text[4] == u'-' && text[7] == u'-';
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        shape = shape && text[i] >= u'0' && text[i] <= u'9';
    return shape;
}

// -1 when the word is neither.
int wordMark(QStringView word)
{
    const auto is = [word](const char* ascii) {
        const qsizetype n = qsizetype(std::strlen(ascii));
        if (word.size() != n)
            return false;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = word[i].unicode();
            const char16_t lower = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
            if (lower != char16_t(ascii[i]))
                return false;
        }
        return true;
    };
    if (word.isEmpty())
        return 0;
    if (is("closed"))
        return 1;
    if (is("announced"))
        return 3;
    return is("open") ? 2 : -1;
}

FileOracle readHolidaysFile(const QString& text)
{
    FileOracle o;
    const QStringList lines = (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(u'\n');
    o.lines = lines.size();
    for (QString line : lines) {
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        qsizetype end = 0;
        while (end < line.size() && line[end] != u' ' && line[end] != u'\t')
            ++end;
        qsizetype wordStart = end;
        while (wordStart < line.size() && (line[wordStart] == u' ' || line[wordStart] == u'\t'))
            ++wordStart;
        const QStringView word = QStringView(line).mid(wordStart);
        const bool oneWord =
            std::none_of(word.begin(), word.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
        const QStringView first = QStringView(line).left(end);
        const QDate date = isoDateShape(first) ? QDate(first.left(4).toInt(), first.mid(5, 2).toInt(),
                                                       first.mid(8, 2).toInt())
                                               : QDate();
        const int mark = oneWord ? wordMark(word) : -1;
        if (!date.isValid() || mark < 0) {
            ++o.rejected;
            continue;
        }
        o.marks.insert(date, mark);
    }
    for (auto it = o.marks.cbegin(); it != o.marks.cend(); ++it) {
        if (it.value() == 0)
            o.lastYear = qMax(o.lastYear, it.key().year());
    }
    return o;
}

void checkFile(const QString& text, QDate date, const TradingCalendar& fresh)
{
    TradingCalendar calendar;
    const QStringList rejected = calendar.addClosedDays(text);
    const FileOracle expected = readHolidaysFile(text);

    check(rejected.size() == expected.rejected, "addClosedDays rejected other lines", date);
    static const QRegularExpression rejectForm(u"^line ([0-9]+): "_s);
    for (const QString& r : rejected) {
        const auto m = rejectForm.match(r);
        check(m.hasMatch() && m.captured(1).toLongLong() >= 1 && m.captured(1).toLongLong() <= expected.lines,
              "a rejected line is not reported as \"line N: text\"", date);
    }
    check(calendar.lastCoveredYear() == expected.lastYear, "lastCoveredYear is not the file's last year",
          date);
    for (auto it = expected.marks.cbegin(); it != expected.marks.cend(); ++it)
        check(calendar.IsHoliday(it.key()) == (it.value() != 2), "a day of the file is not as it says",
              it.key());
    if (date.isValid()) {
        const auto mark = expected.marks.constFind(date);
        const bool holiday = mark != expected.marks.cend() ? *mark != 2 : fresh.IsHoliday(date);
        check(calendar.IsHoliday(date) == holiday, "IsHoliday with a file is not the list plus the file",
              date);
    }
}

// The same bytes as a pasted announcement: the days it finds are real weekdays, in order, each
// once, and what it could not read is whole text (it is shown beside what was found).
void checkAnnouncement(const QString& text, QDate date)
{
    const int year = date.isValid() && date.year() > 0 && date.year() < 10000 ? date.year() : 0;
    const AnnouncedDays found = parseAnnouncement(text, year);
    for (qsizetype i = 0; i < found.weekdays.size(); ++i) {
        const QDate day = found.weekdays[i];
        check(day.isValid() && !IsWeekend(day), "an announced day is not a weekday", day);
        check(i == 0 || found.weekdays[i - 1] < day, "announced days out of order or twice", day);
    }
    check(found.weekdays.isEmpty() || (found.anyDate && found.anyClosedDate),
          "closed days found in a text without closed dates", date);
    for (const auto& [written, why] : found.unread)
        check(QStringView(written).isValidUtf16() && QStringView(why).isValidUtf16() && !why.isEmpty(),
              "an unread date is reported as broken text", date);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in{data, size};
    const QDate date = makeDate(in);
    const TradingCalendar fresh;
    checkDate(date, fresh);

    const std::size_t rest = in.pos < size ? size - in.pos : 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + in.pos), static_cast<qsizetype>(rest));
    checkFile(text, date, fresh);
    checkAnnouncement(text, date);
    return 0;
}
