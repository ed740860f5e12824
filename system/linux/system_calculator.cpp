// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/system_calculator.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

SystemCalculator findSystemCalculator()
{
    // The desktops' own first (KDE's on KDE), then the small ones any desktop may have.
    QStringList programs = {u"gnome-calculator"_s, u"kcalc"_s,         u"mate-calc"_s,
                            u"galculator"_s,       u"qalculate-gtk"_s, u"xcalc"_s};
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(u"KDE"_s, Qt::CaseInsensitive))
        programs.move(1, 0);
    for (const QString& program : std::as_const(programs)) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return {path, {}, {}};
    }
    return {{},
            {},
            u"没有找到计算器。请安装系统的计算器，例如在终端里输入：\n\n"
            "sudo apt install gnome-calculator\n\n"
            "（KDE 桌面可安装 kcalc，其他桌面也可安装 galculator 或 mate-calc。）"_s};
}
