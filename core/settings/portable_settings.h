// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The settings of a portable copy (an unpacked zip: Tickbell.exe with its config.txt beside it),
// which an installed copy takes at its first start when the trader says so.
namespace PortableSettings {

// The portable copies in places, in their subfolders and where shortcuts there point (one on the
// desktop or in the Startup folder), never programFolder; the most recently changed settings first.
QStringList find(const QStringList& places, const QString& programFolder);

// Copies from's holidays.txt, unless to has its own, and then its config.txt, never over a file
// that is there. The names of the files copied; on failure none, nothing copied stays (the next
// start offers them again), and *error says why.
QStringList take(const QString& from, const QString& to, QString* error);

} // namespace PortableSettings
