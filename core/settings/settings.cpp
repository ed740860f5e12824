// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings.h"

using namespace Qt::StringLiterals;

QString Settings::defaultLaw(int number)
{
    static const QString titles[] = {u"买入纪律"_s, u"卖出纪律"_s, u"持仓理由"_s, u"空仓理由"_s};
    Q_ASSERT(number >= 1 && number <= 4);
    return u"      "_s + titles[number - 1] + u"     <br>    内容内容...."_s;
}

Settings Settings::defaults()
{
    Settings s;
    s.law1 = defaultLaw(1);
    s.law2 = defaultLaw(2);
    s.law3 = defaultLaw(3);
    s.law4 = defaultLaw(4);
    return s;
}
