// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr auto kCodec = "GB18030";

QString decodeRun(const char* data, qsizetype size)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(data, size));
}

} // namespace

namespace GbkText {

bool available()
{
    return QStringDecoder(kCodec).isValid() && QStringEncoder(kCodec).isValid();
}

QString decode(const QByteArray& bytes)
{
    // Walk the byte structure so that 0x80 is recognised only where a character starts,
    // never as the trail byte of a double-byte character.
    QString out;
    out.reserve(bytes.size());
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
        } else if (c == 0x80) {
            out += decodeRun(bytes.constData() + runStart, i - runStart);
            out += QChar(0x20AC);
            runStart = ++i;
        } else {
            const qsizetype length = (i + 1 < n && b[i + 1] >= 0x30 && b[i + 1] <= 0x39) ? 4 : 2;
            if (i + length > n) {
                // Cut off at the end of the file: the converter would drop it silently.
                out += decodeRun(bytes.constData() + runStart, i - runStart);
                out += QChar(QChar::ReplacementCharacter);
                runStart = i = n;
            } else {
                i += length;
            }
        }
    }
    out += decodeRun(bytes.constData() + runStart, n - runStart);
    return out;
}

QByteArray encode(const QString& text)
{
    QStringEncoder encoder(kCodec);
    return encoder.encode(text);
}

} // namespace GbkText
