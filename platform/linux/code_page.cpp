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
    thread_local QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(sequence);
    if (!decoder.hasError())
        return text;
    // Its error flag outlasts the call (and resetState keeps it): kept, it would turn every later
    // character into U+FFFD. A fresh converter for the next one.
    decoder = QStringDecoder(kCodec, QStringConverter::Flag::Stateless);
    return {};
}

QByteArray encode(QStringView text)
{
    QStringEncoder encoder(kCodec);
    return encoder.encode(text);
}

} // namespace CodePage
