// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/config_format.h"

#include "core/settings/gbk_text.h"
#include "core/settings/text_file.h"

using namespace Qt::StringLiterals;

namespace ConfigFormat {

namespace {

const QString kCrLf = u"\r\n"_s;
const QString kBr = u"<br>"_s;

enum class Field { Law1, Law2, Law3, Law4, QqNews, FlashWeb, SSoft, Shutdown15, MySoft };

struct Record {
    QString writtenKey;
    QString key;
    Field field;
};

const Record kRecords[] = {
    {u"form1.law1:"_s, u"law1:"_s, Field::Law1}, {u"form1.law2:"_s, u"law2:"_s, Field::Law2},
    {u"form1.law3:"_s, u"law3:"_s, Field::Law3}, {u"form1.law4:"_s, u"law4:"_s, Field::Law4},
    {u"qqnews:"_s, u"qqnews:"_s, Field::QqNews}, {u"flashweb:"_s, u"flashweb:"_s, Field::FlashWeb},
    {u"ssoft:"_s, u"ssoft:"_s, Field::SSoft},    {u"shutdown15:"_s, u"shutdown15:"_s, Field::Shutdown15},
    {u"mysoft="_s, u"mysoft="_s, Field::MySoft},
};

QString lawFromFile(const QString& value)
{
    QString text = value;
    return text.replace(kBr, kCrLf);
}

QString lawToFile(const QString& law)
{
    QString text = law;
    text.replace(kCrLf, kBr);
    // A lone CR would end the record early and the rest of the rule would be lost.
    text.replace(u'\r', kBr);
    return text;
}

void apply(Settings& s, Field field, const QString& value)
{
    switch (field) {
    case Field::Law1: s.law1 = lawFromFile(value); break;
    case Field::Law2: s.law2 = lawFromFile(value); break;
    case Field::Law3: s.law3 = lawFromFile(value); break;
    case Field::Law4: s.law4 = lawFromFile(value); break;
    case Field::QqNews: s.qqnews = parseOption(value); break;
    case Field::FlashWeb: s.flashweb = parseOption(value); break;
    case Field::SSoft: s.ssoft = parseOption(value); break;
    case Field::Shutdown15: s.shutdown15 = parseOption(value); break;
    case Field::MySoft: s.mysoft = value; break;
    }
}

} // namespace

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

qint16 parseOption(const QString& value)
{
    bool ok = false;
    const qint16 n = value.trimmed().toShort(&ok, 10);
    return ok ? n : 0;
}

Settings parse(const QString& text, Settings base)
{
    // A file without a single colon holds no records at all.
    if (!text.contains(u':'))
        return base;
    const QStringList lines = splitLines(text);
    for (const QString& line : lines) {
        qsizetype pos = 0;
        while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
            ++pos;
        QStringView rest = QStringView(line).mid(pos);
        if (rest.startsWith(u"form1."))
            rest = rest.mid(6);
        for (const Record& r : kRecords) {
            if (rest.startsWith(r.key)) {
                apply(base, r.field, rest.mid(r.key.size()).toString());
                break;
            }
        }
    }
    return base;
}

QString serialize(const Settings& s)
{
    QString mysoft = s.mysoft;
    mysoft.remove(u'\r');
    const QString values[] = {
        lawToFile(s.law1),
        lawToFile(s.law2),
        lawToFile(s.law3),
        lawToFile(s.law4),
        QString::number(s.qqnews),
        QString::number(s.flashweb),
        QString::number(s.ssoft),
        QString::number(s.shutdown15),
        mysoft,
    };
    QString text;
    for (size_t i = 0; i < std::size(kRecords); ++i)
        text += kRecords[i].writtenKey + values[i] + kCrLf;
    return text + kCrLf;
}

Settings fromBytes(const QByteArray& bytes, Settings base, const CodePage& codePage)
{
    return parse(TextFile::decode(bytes, codePage).text, std::move(base));
}

QByteArray toBytes(const Settings& settings, const CodePage& codePage)
{
    const QString text = serialize(settings);
    const QByteArray gbk = GbkText::encode(text, codePage);
    // Now and then GBK bytes are also valid UTF-8 and would be read back as other characters:
    // such a file goes out as UTF-8 with its mark, which reads back as it was.
    if (TextFile::decode(gbk, codePage).encoding != TextFile::Encoding::Utf8)
        return gbk;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace ConfigFormat
