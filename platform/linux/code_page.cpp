// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Qt's converter (ICU on Debian).

namespace {
constexpr auto kCodec = "GB18030";
} // namespace

namespace CodePage {

bool available()
{
    return QStringDecoder(kCodec).isValid() && QStringEncoder(kCodec).isValid();
}

QString decodeSequence(QByteArrayView sequence)
{
    // A converter of its own: an error flag outlives the call that set it (a shared converter
    // would turn every later character into U+FFFD). Opening one costs about half a microsecond.
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(sequence);
    return decoder.hasError() || text.contains(QChar::ReplacementCharacter) ? QString() : text;
}

QByteArray encode(QStringView text)
{
    QStringEncoder encoder(kCodec);
    return encoder.encode(text);
}

} // namespace CodePage
