// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/system_calculator.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

using namespace Qt::StringLiterals;

SystemCalculator findSystemCalculator()
{
    // calc.exe in the system folder starts the Calculator app on Windows 10 and 11 too; named
    // by its full path, so a calc.exe in another folder is never taken for it.
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    const QString calc = QString::fromWCharArray(folder, int(n)) + u"\\calc.exe"_s;
    if (n > 0 && n < MAX_PATH && QFileInfo::exists(calc))
        return {calc, {}, {}};
    return {
        {},
        {},
        u"没有找到 Windows 计算器（calc.exe）。请在“设置 > 应用 > 可选功能”或 Microsoft Store 中安装“Windows 计算器”。"_s};
}
