// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/program_icon.h"

#include <QApplication>

using namespace Qt::StringLiterals;

QIcon programIcon()
{
    if (!QApplication::windowIcon().isNull())
        return QApplication::windowIcon();
    QIcon icon;
    for (const int size : {16, 32, 256})
        icon.addFile(u":/tickbell/tickbell-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}
