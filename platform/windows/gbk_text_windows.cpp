// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gbk_text.h"

#include <windows.h>

// Windows' own converters: code page 54936 (GB18030), or 936 (GBK) where 54936 is missing, as
// under Wine. The byte structure is walked here, as on Linux, so that malformed bytes, the euro
// sign and a cut-off last character come out the same on both systems.

namespace {

constexpr char16_t kEuro = 0x20AC;
const QByteArray kEuroBytes("\xA2\xE3"); // GB18030's euro; code page 936 would write 0x80

UINT codePage()
{
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

bool inRange(unsigned char c, unsigned char low, unsigned char high)
{
    return c >= low && c <= high;
}

bool isTrailOfTwo(unsigned char c)
{
    return inRange(c, 0x40, 0x7E) || inRange(c, 0x80, 0xFE);
}

// One character's bytes to text; empty when the code page has no such character.
QString decodeOne(const char* data, int size)
{
    wchar_t wide[4];
    const int n = MultiByteToWideChar(codePage(), MB_ERR_INVALID_CHARS, data, size, wide, 4);
    return n > 0 ? QString::fromWCharArray(wide, n) : QString();
}

void appendEncoded(QByteArray& out, QStringView text)
{
    if (text.isEmpty())
        return;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    const int n = WideCharToMultiByte(codePage(), 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return;
    const qsizetype start = out.size();
    out.resize(start + n);
    WideCharToMultiByte(codePage(), 0, wide, length, out.data() + start, n, nullptr, nullptr);
}

} // namespace

namespace GbkText {

bool available()
{
    return IsValidCodePage(54936) || IsValidCodePage(936);
}

QString decode(const QByteArray& bytes)
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
        if (c == 0x80) {
            out += QChar(kEuro);
            ++i;
            continue;
        }
        const bool fourBytes = i + 1 < n && inRange(b[i + 1], 0x30, 0x39);
        const qsizetype length = fourBytes ? 4 : 2;
        if (c == 0xFF) {
            out += QChar(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        if (i + length > n) {
            out += QChar(QChar::ReplacementCharacter); // cut off at the end of the file
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
        QString text =
            sequence == kEuroBytes ? QString(QChar(kEuro)) : decodeOne(sequence.data(), int(length));
        out += text.isEmpty() ? QString(QChar(QChar::ReplacementCharacter)) : text;
        i += length;
    }
    return out;
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar(kEuro))
            continue;
        appendEncoded(out, QStringView(text).mid(start, i - start));
        if (i < text.size())
            out += kEuroBytes;
        start = i + 1;
    }
    return out;
}

} // namespace GbkText
