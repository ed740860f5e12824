// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The file that plays for a requested prompt name: every "1" and "2" removed, so that the
// two key-point prompts share one recording.
QString promptFileName(const QString& playok);

// Path of the prompt's file in the sound folder beside the program.
QString promptFilePath(const QString& programFolder, const QString& playok);
