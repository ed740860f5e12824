// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The Help menu's built-in texts, written with the "BR" line-break markup.
namespace HelpTexts {

struct Entry {
    QString title; // the viewer's title
    QString body;
};

Entry instructions(); // 使用说明
Entry author();       // 关于作者
Entry software();     // 关于本软件

} // namespace HelpTexts
