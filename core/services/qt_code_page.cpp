// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr auto kCodec = "GB18030";
} // namespace

bool QtCodePage::available() const
{
    return QStringDecoder(kCodec).isValid() && QStringEncoder(kCodec).isValid();
}

QString QtCodePage::decodeSequence(QByteArrayView sequence) const
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

QByteArray QtCodePage::encode(QStringView text) const
{
    QStringEncoder encoder(kCodec);
    return encoder.encode(text);
}
