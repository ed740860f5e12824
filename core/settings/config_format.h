// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"
#include "core/settings/settings.h"

#include <QByteArray>
#include <QStringList>

// The config.txt format: one record a line, key then value, CR LF line ends, GB18030 text.
namespace ConfigFormat {

// Lines end at CR LF or a lone CR; a lone LF is an ordinary character.
QStringList splitLines(const QString& text);

// Applies every record found in the text to base. A record counts only where its key starts
// the line (after blanks and an optional "form1."), so a rule that mentions another key, a
// time like 14:30 or a path with "=" never changes another field. The last record wins.
Settings parse(const QString& text, Settings base);

// The nine records in their fixed order, CR LF after each, then one empty line.
QString serialize(const Settings& settings);

// Reads GB18030, or UTF-8 where the editor saved that (see TextFile::decode).
Settings fromBytes(const QByteArray& bytes, Settings base, const CodePage& codePage);
// GB18030; UTF-8 with its byte-order mark in the rare case that the GB18030 bytes would read
// as UTF-8.
QByteArray toBytes(const Settings& settings, const CodePage& codePage);

// Option values: empty, not a number or outside 16 bits read as 0.
qint16 parseOption(const QString& value);

} // namespace ConfigFormat
