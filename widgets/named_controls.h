// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// The controls the program's own windows build by the dozen, named so that tests find them.
// A button that Return presses when it has the focus, as Space does.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption);
// A label of plain text that wraps.
QLabel* namedLabel(QWidget* parent, const char* name);
