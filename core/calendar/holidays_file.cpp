// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/holidays_file.h"

#include "core/calendar/dates.h"
#include "core/settings/text_file.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;

// A file the program makes itself starts with the format, for whoever opens it next.
const QString kFormatHeader =
    u"# Tickbell 休市日历：沪深交易所周一到周五的休市日 / the weekdays the exchanges are closed.\n"
    u"# 格式：每行一个日期，写成 年-月-日（如 2027-02-05），是交易所公布的休市日；文件里有某一年的这种日期，\n"
    u"#   那一年就只按文件休市，不再按法定节假日推算。只写周一到周五：周末总是休市。\"#\" 后面是注释。\n"
    u"# 日期后加 open（如 2027-05-03 open）：这天开市，不管推算或公布的是什么。\n"
    u"# 日期后加 closed（如 2027-04-30 closed）：这天休市，那一年其余的休市日仍按法定节假日推算。\n"
    u"# 日期后加 announced（如 2027-09-16 announced）：交易所公告的休市日（在“交易日历”里粘贴的），那一年其余的休市日仍按法定节假日推算。\n"
    u"# 文件用 UTF-8 或 GBK（记事本的“ANSI”）都可以。旧版 Tickbell 会跳过带 open、closed 的行。\n"
    u"# 在程序文件夹以外（config.txt 旁边）的这个文件在程序文件夹的 holidays.txt 之后读，只写您自己改过的日子和您粘贴的年份；\n"
    u"#   其余的日子跟着程序文件夹的文件，新版本带来的更正也会用上。\n"
    u"# Format: YYYY-MM-DD, one a line, is a closed day the exchanges announced; a year with such a line follows\n"
    u"#   this file alone and is no longer worked out from the statutory holidays. Weekdays only: weekends are\n"
    u"#   always closed. \"#\" starts a comment.\n"
    u"# YYYY-MM-DD open: a trading day, whatever the rules or a list say.\n"
    u"# YYYY-MM-DD closed: closed, and the rest of that year is still worked out from the rules.\n"
    u"# YYYY-MM-DD announced: closed by an exchanges' notice (pasted in 交易日历); the rest of that year is\n"
    u"#   still worked out from the rules.\n"
    u"# UTF-8 or GBK (Notepad's \"ANSI\"). An older Tickbell skips the open and closed lines.\n"
    u"# Outside the program folder (beside config.txt) this file is read after the program folder's holidays.txt and\n"
    u"#   holds only the days you changed and the years you pasted; the rest follow that file and its corrections.\n"_s;

QString keyword(DayMark mark)
{
    switch (mark) {
    case DayMark::Closed: return {};
    case DayMark::ClosedBesideRules: return u" closed"_s;
    case DayMark::Open: return u" open"_s;
    case DayMark::AnnouncedBesideRules: return u" announced"_s;
    }
    return {};
}

using Mark = std::pair<QDate, DayMark>;

// A line's mark: its text before any "#", trimmed, as a date and at most one known word.
std::optional<Mark> markOf(const QString& content)
{
    static const QRegularExpression blanks(u"[ \\t]+"_s);
    const QStringList fields = content.split(blanks);
    const QDate date = parseIsoDate(fields[0]);
    const QString word = fields.value(1).toLower();
    static const QHash<QString, DayMark> words = {{QString(), DayMark::Closed},
                                                  {u"closed"_s, DayMark::ClosedBesideRules},
                                                  {u"open"_s, DayMark::Open},
                                                  {u"announced"_s, DayMark::AnnouncedBesideRules}};
    const auto mark = words.constFind(word);
    if (!date.isValid() || fields.size() > 2 || mark == words.cend())
        return std::nullopt;
    return Mark{date, *mark};
}

QString markText(const Mark& mark)
{
    return mark.first.toString(Qt::ISODate) + keyword(mark.second);
}

// The lines of a file as they are on disk, each with its own line end, and the mark each says.
struct FileLine {
    QByteArray text; // without its end
    QByteArray end;  // "\r\n", "\n", or none on a last line without one
    std::optional<Mark> mark;
};

QList<FileLine> fileLines(const QByteArray& bytes, const CodePage& codePage)
{
    if (bytes.isEmpty())
        return {};
    QList<QByteArray> pieces = bytes.split('\n');
    if (pieces.size() > 1 && pieces.last().isEmpty())
        pieces.removeLast(); // the end of the last line
    // Neither UTF-8 nor GB18030 has a newline byte inside a character: the lines match.
    const QStringList decoded = TextFile::decode(bytes, codePage).text.split(u'\n');
    QList<FileLine> lines;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        FileLine line{pieces[i], i + 1 < pieces.size() || bytes.endsWith('\n') ? "\n" : "", {}};
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.end.prepend('\r');
        }
        QString text = i < decoded.size() ? decoded[i] : QString::fromLatin1(line.text);
        if (i == 0 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        const QString content = text.section(u'#', 0, 0).trimmed();
        if (!content.isEmpty())
            line.mark = markOf(content);
        lines << line;
    }
    return lines;
}

// The line with its mark replaced and everything around it (indent, spacing, comment) kept;
// the mark itself is ASCII in any encoding.
QByteArray withMark(const QByteArray& line, const Mark& mark)
{
    qsizetype start = line.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    const qsizetype hash = line.indexOf('#');
    qsizetype stop = hash < 0 ? line.size() : hash;
    while (stop > start && (line[stop - 1] == ' ' || line[stop - 1] == '\t'))
        --stop;
    return line.left(start) + markText(mark).toLatin1() + line.mid(stop);
}

// Where a day that no line speaks of goes: after the latest earlier day of its year, else before
// the first later day of its year, else as a year of its own, a blank line apart, after the
// years before it (or before those after it).
void insertMark(QList<FileLine>& lines, const Mark& mark, const QByteArray& end)
{
    const QDate day = mark.first;
    qsizetype before = -1;
    qsizetype after = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].mark)
            continue;
        const QDate d = lines[i].mark->first;
        if (d < day && (before < 0 || d >= lines[before].mark->first))
            before = i;
        if (d > day && (after < 0 || d < lines[after].mark->first))
            after = i;
    }
    const FileLine added{markText(mark).toLatin1(), end, mark};
    const FileLine blank{{}, end, {}};
    const auto year = [&](qsizetype i) { return lines[i].mark->first.year(); };
    const auto insertAt = [&](qsizetype at, const QList<FileLine>& inserted) {
        // A last line without its end gets one before anything follows it.
        if (at == lines.size() && at > 0 && lines[at - 1].end.isEmpty())
            lines[at - 1].end = end;
        for (qsizetype i = 0; i < inserted.size(); ++i)
            lines.insert(at + i, inserted[i]);
    };
    if (before >= 0 && year(before) == day.year())
        insertAt(before + 1, {added});
    else if (after >= 0 && year(after) == day.year())
        insertAt(after, {added});
    else if (before >= 0)
        insertAt(before + 1, {blank, added});
    else if (after >= 0)
        insertAt(after, {added, blank});
    else if (!lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
        insertAt(lines.size(), {blank, added});
    else
        insertAt(lines.size(), {added});
}

} // namespace

namespace HolidaysFile {

Parsed parse(const QString& text)
{
    Parsed parsed;
    // Editors on Windows save UTF-8 with a byte-order mark.
    const QStringList lines =
        QStringView(text).mid(text.startsWith(QChar(0xFEFF)) ? 1 : 0).toString().split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        if (const std::optional<Mark> mark = markOf(line)) {
            parsed.marks.insert(mark->first, mark->second);
            continue;
        }
        if (parsed.rejected.isEmpty())
            parsed.firstRejected = i + 1;
        parsed.rejected << rejectedLine(i, line);
    }
    return parsed;
}

QByteArray edit(const QByteArray& file, const DayMarks& marks, const CodePage& codePage)
{
    QList<FileLine> lines = fileLines(file, codePage);
    // New lines end as the file's lines end (CR LF in a new file, for Notepad).
    QByteArray end = "\r\n";
    for (const FileLine& line : std::as_const(lines)) {
        if (!line.end.isEmpty()) {
            end = line.end;
            break;
        }
    }
    const bool blank = std::all_of(lines.cbegin(), lines.cend(),
                                   [](const FileLine& line) { return line.text.trimmed().isEmpty(); });
    if (blank) {
        lines.clear();
        for (const QString& text : kFormatHeader.split(u'\n', Qt::SkipEmptyParts))
            lines << FileLine{text.toUtf8(), end, {}};
    }
    // The last line about a day decides it: that one takes the new mark; a day with no mark now
    // loses all of its lines.
    QHash<QDate, qsizetype> last;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].mark)
            last.insert(lines[i].mark->first, i);
    }
    QList<FileLine> kept;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        FileLine line = lines[i];
        if (line.mark) {
            const QDate day = line.mark->first;
            const auto now = marks.constFind(day);
            if (now == marks.cend())
                continue;
            if (last.value(day) == i && *now != line.mark->second) {
                line.mark->second = *now;
                line.text = withMark(line.text, *line.mark);
            }
        }
        kept << line;
    }
    for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
        if (!last.contains(it.key()))
            insertMark(kept, {it.key(), it.value()}, end);
    }
    QByteArray out;
    for (const FileLine& line : std::as_const(kept))
        out += line.text + line.end;
    return out;
}

QString rejectedLine(qsizetype index, QStringView line)
{
    qsizetype length = qMin<qsizetype>(line.size(), 80);
    // Half a character outside the Basic Multilingual Plane would make the message invalid text.
    if (length < line.size() && line[length - 1].isHighSurrogate())
        --length;
    return u"line %1: %2"_s.arg(index + 1).arg(line.left(length));
}

QString header(const QString& text)
{
    QStringList kept;
    for (const QString& line : text.split(u'\n')) {
        const QString bare = line.trimmed();
        if (!bare.isEmpty() && !bare.startsWith(u'#'))
            break;
        kept << line;
    }
    return kept.join(u'\n');
}

QString serialize(const DayMarks& marks, const QString& header)
{
    QStringList lines = (header.trimmed().isEmpty() ? kFormatHeader : header).split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    int year = 0;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
        if (it.key().year() != year && !lines.isEmpty())
            lines << QString();
        year = it.key().year();
        lines << it.key().toString(Qt::ISODate) + keyword(it.value());
    }
    return lines.join(kCrLf) + kCrLf;
}

Loaded read(const QString& path, const CodePage& codePage)
{
    Loaded loaded;
    QByteArray bytes;
    QString why;
    if (!TextFile::read(path, kMaxBytes, &bytes, &why)) {
        loaded.problems << u"cannot read %1: %2"_s.arg(path, why);
        return loaded;
    }
    if (!why.isEmpty())
        loaded.problems << u"%1 is %2"_s.arg(path, why);
    const TextFile::Decoded decoded = TextFile::decode(bytes, codePage);
    if (decoded.encoding == TextFile::Encoding::Gbk)
        loaded.problems << u"%1 is not UTF-8: read as GBK"_s.arg(path);
    loaded.text = decoded.text;
    loaded.ok = true;
    return loaded;
}

bool save(const QString& path, const DayMarks& marks, const CodePage& codePage, QString* error)
{
    if (!QFileInfo::exists(path))
        return TextFile::save(path, edit({}, marks, codePage), error);
    QByteArray bytes;
    QString why;
    // A file that cannot be read whole now is replaced all the same: its dates are in marks.
    if (!TextFile::read(path, kMaxBytes, &bytes, &why))
        return TextFile::save(path, serialize(marks, {}).toUtf8(), error);
    if (!why.isEmpty())
        return TextFile::save(path, serialize(marks, header(TextFile::decode(bytes, codePage).text)).toUtf8(),
                              error);
    return TextFile::save(path, edit(bytes, marks, codePage), error);
}

} // namespace HolidaysFile
