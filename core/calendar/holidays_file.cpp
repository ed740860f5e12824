// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/holidays_file.h"

#include "core/calendar/dates.h"
#include "core/settings/text_file.h"

#include <QFileInfo>
#include <QRegularExpression>

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
    u"# 文件用 UTF-8 或 GBK（记事本的“ANSI”）都可以。旧版 Tickbell 会跳过带 open、closed 的行。\n"
    u"# 在程序文件夹以外（config.txt 旁边）的这个文件在程序文件夹的 holidays.txt 之后读，只写您自己改过的日子和您粘贴的年份；\n"
    u"#   其余的日子跟着程序文件夹的文件，新版本带来的更正也会用上。\n"
    u"# Format: YYYY-MM-DD, one a line, is a closed day the exchanges announced; a year with such a line follows\n"
    u"#   this file alone and is no longer worked out from the statutory holidays. Weekdays only: weekends are\n"
    u"#   always closed. \"#\" starts a comment.\n"
    u"# YYYY-MM-DD open: a trading day, whatever the rules or a list say.\n"
    u"# YYYY-MM-DD closed: closed, and the rest of that year is still worked out from the rules.\n"
    u"# UTF-8 or GBK (Notepad's \"ANSI\"). An older Tickbell skips the open and closed lines.\n"
    u"# Outside the program folder (beside config.txt) this file is read after the program folder's holidays.txt and\n"
    u"#   holds only the days you changed and the years you pasted; the rest follow that file and its corrections.\n"_s;

QString keyword(DayMark mark)
{
    switch (mark) {
    case DayMark::Closed: return {};
    case DayMark::ClosedBesideRules: return u" closed"_s;
    case DayMark::Open: return u" open"_s;
    }
    return {};
}

} // namespace

namespace HolidaysFile {

Parsed parse(const QString& text)
{
    static const QRegularExpression blanks(u"[ \\t]+"_s);
    Parsed parsed;
    // Editors on Windows save UTF-8 with a byte-order mark.
    const QStringList lines =
        QStringView(text).mid(text.startsWith(QChar(0xFEFF)) ? 1 : 0).toString().split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(blanks);
        const QDate date = parseIsoDate(fields[0]);
        const QString word = fields.value(1).toLower();
        const bool known = word.isEmpty() || word == u"open"_s || word == u"closed"_s;
        if (!date.isValid() || fields.size() > 2 || !known) {
            if (parsed.rejected.isEmpty())
                parsed.firstRejected = i + 1;
            parsed.rejected << rejectedLine(i, line);
            continue;
        }
        parsed.marks.insert(date, word.isEmpty()      ? DayMark::Closed
                                  : word == u"open"_s ? DayMark::Open
                                                      : DayMark::ClosedBesideRules);
    }
    return parsed;
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
    // A file that cannot be read now is replaced all the same: its dates are in marks.
    const Loaded old = QFileInfo::exists(path) ? read(path, codePage) : Loaded{};
    return TextFile::save(path, serialize(marks, header(old.text)).toUtf8(), error);
}

} // namespace HolidaysFile
