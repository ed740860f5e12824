// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Text in the settings file: GB18030, the superset of GBK that has the same bytes for every
// GBK character, so files of the GBK era read unchanged and nothing typed is lost on save.
namespace GbkText {

// A single 0x80 byte (GBK's euro sign, invalid in GB18030) is read as U+20AC; any other
// malformed sequence becomes U+FFFD.
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);

// False when the Qt build has no GB18030 converter (it then cannot read or write the file).
bool available();

} // namespace GbkText
