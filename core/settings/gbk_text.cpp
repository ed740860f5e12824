// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/gbk_text.h"

namespace {

constexpr char16_t kEuro = 0x20AC;
const QByteArray kEuroBytes("\xA2\xE3"); // GB18030's euro; code page 936 would write 0x80

bool inRange(unsigned char c, unsigned char low, unsigned char high)
{
    return c >= low && c <= high;
}

bool isTrailOfTwo(unsigned char c)
{
    return inRange(c, 0x40, 0x7E) || inRange(c, 0x80, 0xFE);
}

} // namespace

namespace GbkText {

QString decode(const QByteArray& bytes, const CodePage& codePage)
{
    QString out;
    out.reserve(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            out += QLatin1Char(char(c));
            ++i;
            continue;
        }
        // 0x80 only where a character starts, never as the trail byte of a double-byte one.
        if (c == 0x80) {
            out += QChar(kEuro);
            ++i;
            continue;
        }
        if (c == 0xFF) {
            out += QChar(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        const bool fourBytes = i + 1 < n && inRange(b[i + 1], 0x30, 0x39);
        const qsizetype length = fourBytes ? 4 : 2;
        if (i + length > n) {
            // Cut off at the end of the file: a converter would drop it silently.
            out += QChar(QChar::ReplacementCharacter);
            break;
        }
        const bool wellFormed = fourBytes ? inRange(b[i + 2], 0x81, 0xFE) && inRange(b[i + 3], 0x30, 0x39)
                                          : isTrailOfTwo(b[i + 1]);
        if (!wellFormed) {
            // The lead byte alone is bad; what follows it is read again on its own.
            out += QChar(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        const QByteArrayView sequence(bytes.constData() + i, length);
        const QString text =
            sequence == kEuroBytes ? QString(QChar(kEuro)) : codePage.decodeSequence(sequence);
        out += text.isEmpty() ? QString(QChar(QChar::ReplacementCharacter)) : text;
        i += length;
    }
    return out;
}

QByteArray encode(const QString& text, const CodePage& codePage)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar(kEuro))
            continue;
        out += codePage.encode(QStringView(text).mid(start, i - start));
        if (i < text.size())
            out += kEuroBytes;
        start = i + 1;
    }
    return out;
}

} // namespace GbkText
