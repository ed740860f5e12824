// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The floor for the start-up, idle and memory figures: a plain Qt Widgets window that shows the
// main window's texts in the same faces at the same sizes (the Kai status line, red on black so
// the same probe sees it; the Song clock line and bold advice; the Sans captions; the menu titles
// in the default face), and nothing else: no logic, sound, settings, icon or second-copy guard.
// Faces are most of a CJK window's memory, so a floor with other faces would not be a fair one.

#include "core/day/session_schedule.h"
#include "widgets/fonts.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>

inline void buildBareWindow(QMainWindow& window)
{
    using namespace Qt::StringLiterals;
    window.setWindowTitle(u"bare window"_s);
    for (const QString& title : {u"文件"_s, u"编辑"_s, u"工具"_s, u"窗口"_s, u"帮助"_s})
        window.menuBar()->addMenu(title);
    auto* client = new QWidget(&window);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    client->setPalette(pal);
    window.setCentralWidget(client);

    auto label = [client](const QString& text, const QFont& font, const QRect& geometry) {
        auto* l = new QLabel(text, client);
        l->setFont(font);
        l->setGeometry(geometry);
        return l;
    };
    QLabel* status = label(u"股市开盘中..."_s, Fonts::kai(42), QRect(16, 16, 392, 56));
    QPalette red = status->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    status->setPalette(red);
    label(u"2010年2月10日  10:05:00"_s, Fonts::song(12), QRect(88, 72, 255, 19));
    // Bold as SimSun's is drawn: the regular Song face emboldened, so that a second face for
    // bold shows in the program's figures and not in the floor's.
    QFont bold = Fonts::song(12);
    bold.setBold(true);
    label(ScheduleText::Welcome, bold, QRect(24, 96, 377, 129))->setWordWrap(true);
    const QString captions[] = {u"买入纪律 1"_s, u"卖出纪律 2"_s, u"持仓纪律 3"_s, u"空仓纪律 4"_s,
                                u"滚动新闻 5"_s, u"时间校正 6"_s, u"行情网页 7"_s, u"炒股软件 8"_s};
    for (int i = 0; i < 8; ++i)
        label(captions[i], Fonts::sans(9), QRect(6 + (i % 4) * 102, 234 + (i / 4) * 31, 100, 30));
    window.resize(418, 323);
}
