// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/voice_prompt.h"

using namespace Qt::StringLiterals;

QString promptFileName(const QString& playok)
{
    QString name = playok;
    name.remove(u'1');
    name.remove(u'2');
    return name;
}

QString promptFilePath(const QString& programFolder, const QString& playok)
{
    return programFolder + u"/sound/"_s + promptFileName(playok);
}
