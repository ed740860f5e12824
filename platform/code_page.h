// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The system's GB18030 converter (GBK where the system has only that), one character at a
// time; the byte structure is walked in settings/gbk_text.cpp. Each backend folder provides
// these; the core links the one for the system being built for.
namespace CodePage {

// False when the system has no converter (the settings file then cannot be read or written).
bool available();
// One well-formed two- or four-byte sequence to its character; empty when it maps to none.
QString decodeSequence(QByteArrayView sequence);
// Text without the euro sign, which the walk writes itself.
QByteArray encode(QStringView text);

} // namespace CodePage
