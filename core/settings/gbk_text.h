// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"

#include <QByteArray>
#include <QString>

// Text in the settings file: GB18030, the superset of GBK that has the same bytes for every
// GBK character, so files of the GBK era read unchanged and nothing typed is lost on save.
// The same bytes on every system: the structure is walked here, each character is converted
// by the system's code page.
namespace GbkText {

// A single 0x80 byte (GBK's euro sign, invalid in GB18030) is read as U+20AC; any other
// malformed sequence becomes U+FFFD.
QString decode(const QByteArray& bytes, const CodePage& codePage);
QByteArray encode(const QString& text, const CodePage& codePage);

} // namespace GbkText
