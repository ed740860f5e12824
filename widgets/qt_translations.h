// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

// Installs Qt's own Chinese texts (buttons, the file dialog), looked for beside the program
// first, then in Qt's translations folder. Returns false when none were found.
bool loadQtChinese(QCoreApplication& app, const QString& programFolder);
