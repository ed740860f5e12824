// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"

#include <QByteArray>
#include <QString>

// The small text files the user may edit by hand (config.txt, holidays.txt): read whole and
// capped, decoded whichever way the editor saved them, and replaced whole and atomically.
namespace TextFile {

// Reads at most maxBytes of the file. False (and why, in English) when it cannot be read; a
// file larger than maxBytes is read in part and *why says so.
bool read(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* why);

enum class Encoding { Ascii, Utf8, Gbk };

struct Decoded {
    QString text;
    Encoding encoding;
};

// UTF-8 when the bytes start with its byte-order mark (dropped), or are valid UTF-8 and hold
// something beyond ASCII: what Notepad on Windows 10 and Linux editors save. Anything else is
// GB18030, which reads every GBK file as it is.
Decoded decode(const QByteArray& bytes, const CodePage& codePage);

// Writes the whole file or nothing: on failure the old file stays as it was and *error (if
// given) says why, in Chinese for the user.
bool save(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A save killed between writing its temporary copy and renaming it leaves "name.XXXXXX"
// beside the file; removes those of this file.
void removeLeftovers(const QString& path);

} // namespace TextFile
