// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The floor for the start-up and idle figures: a plain Qt Widgets window with one label of
// Chinese text, red on black like the main window's status line so the same probe sees it.

#include <QLabel>
#include <QMainWindow>
#include <QPalette>

inline void buildBareWindow(QMainWindow& window)
{
    using namespace Qt::StringLiterals;
    window.setWindowTitle(u"bare window"_s);
    auto* label = new QLabel(u"股市开盘中..."_s, &window);
    QFont font = label->font();
    font.setPointSize(42);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(pal);
    window.setCentralWidget(label);
    window.resize(418, 323);
}
