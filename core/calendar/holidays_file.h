// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"

#include <QDate>
#include <QMap>
#include <QStringList>

// What a line of holidays.txt says about one weekday.
enum class DayMark {
    Closed,            // "2027-02-05": announced closed; a year with such a day follows its list alone
    ClosedBesideRules, // "2027-02-12 closed": closed, the year's other days still worked out
    Open,              // "2027-05-03 open": a trading day, whatever a list or the rules say
    // "2027-09-15 announced": closed by a notice of the exchanges (pasted in 交易日历), the
    // year's other days still worked out
    AnnouncedBesideRules,
};
using DayMarks = QMap<QDate, DayMark>;

// holidays.txt: one day a line, "#" starts a comment, blank lines are skipped. An older
// Tickbell skips the "open" and "closed" lines as not dates (and says so on standard error),
// so it still works the year out from the rules; a bare date there would end that.
namespace HolidaysFile {

struct Parsed {
    DayMarks marks;
    QStringList rejected;        // "line N: text"
    qsizetype firstRejected = 0; // N of the first of them; 0 when none
};
// A later line about the same day wins.
Parsed parse(const QString& text);

// The comment lines (and blank lines) the file starts with.
QString header(const QString& text);

// The whole file: the header (the format's description when empty), then one line a mark in
// date order with a blank line between years; CR LF line ends.
QString serialize(const DayMarks& marks, const QString& header);

// "line N: text" for a line the reader skipped (index from 0), the text cut to 80 characters,
// never inside one.
QString rejectedLine(qsizetype index, QStringView line);

// Larger files are not holidays files; only this much of one is read.
constexpr qint64 kMaxBytes = 1024 * 1024;

struct Loaded {
    QString text;
    QStringList problems; // the file unreadable, cut short or not UTF-8: one plain line each
    bool ok = false;
};
Loaded read(const QString& path, const CodePage& codePage);

// The file made to say marks, changing only the lines about days whose mark changed: a changed
// day's last line takes the new mark (its spacing and comment kept), a day without a mark now
// loses its lines, a new day comes in date order beside the days of its year. Every other line
// (comments, blank lines, lines not understood, days as they were) stays byte for byte, with its
// line end and encoding; new lines end as the file's do. An empty file starts with the format.
QByteArray edit(const QByteArray& file, const DayMarks& marks, const CodePage& codePage);

// Writes marks to the file at path (see edit), atomically. A file that cannot be read whole is
// replaced: the header it has (the format's description when none), then every mark. On failure
// the old file stays and *error says why, in Chinese.
bool save(const QString& path, const DayMarks& marks, const CodePage& codePage, QString* error = nullptr);

} // namespace HolidaysFile
