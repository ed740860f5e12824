// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"

#include <QByteArray>
#include <QString>

#include <memory>

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

// Where a save writes before the new file takes the old one's place. The system's is
// SaveDevice::forFile; tests give one that fails where they want.
class SaveDevice {
public:
    virtual ~SaveDevice() = default;
    virtual bool open() = 0;
    virtual qint64 write(const QByteArray& bytes) = 0;
    // Everything written to the disk.
    virtual bool flush() = 0;
    // The new file in the old one's place, whole; on failure the old file is as it was.
    virtual bool commit() = 0;
    // Drops the new file; the old one stays.
    virtual void cancel() = 0;
    // Why the last step failed: the system's error number where it gave one (else 0), and its
    // own words.
    virtual int errorNumber() const = 0;
    virtual QString errorString() const = 0;

    // The new file is written beside path under a name of its own (stagingName), replaced
    // atomically by the finished one, which is then renamed over path.
    static std::unique_ptr<SaveDevice> forFile(const QString& path);
};

// Writes the whole file or nothing: on failure the old file stays as it was and *error (if
// given) says why, in Chinese for the user. A symbolic link is written through to its target;
// the file keeps its permissions.
bool save(const QString& path, const QByteArray& bytes, QString* error = nullptr);
bool save(SaveDevice& device, const QByteArray& bytes, QString* error = nullptr);

// The name a save of path writes under first: no person would choose it, so whatever bears it
// (or it and QSaveFile's ".XXXXXX") was left by a save that was killed half-way.
QString stagingName(const QString& path);
// Removes those leftovers of path, and nothing else.
void removeLeftovers(const QString& path);

} // namespace TextFile
