// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/countdown.h"

using namespace Qt::StringLiterals;

QString cancelledTitle(const QString& SoftVer1)
{
    return u"OrroTickbellv"_s + SoftVer1 + u" - Orro SOFT"_s;
}

CountdownStep countdownTick(bool autoexit, qint16& c2exit, const QString& SoftVer1)
{
    if (!autoexit) {
        c2exit = 16;
        return {CountdownStep::Action::Cancel, cancelledTitle(SoftVer1)};
    }
    --c2exit;
    if (c2exit > 0)
        return {CountdownStep::Action::ShowTitle, u" "_s + QString::number(c2exit) + u" 秒后自动退出 ... "_s};
    return {CountdownStep::Action::Exit, {}};
}
