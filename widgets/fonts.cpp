// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace Fonts {

QFont kai(qreal pointSize)
{
    QFont f;
    f.setFamilies(
        QStringList{u"华文行楷"_s, u"STXingkai"_s, u"KaiTi"_s, u"AR PL UKai CN"_s, u"Noto Serif CJK SC"_s});
    f.setPointSizeF(pointSize);
    return f;
}

QFont song(qreal pointSize, bool bold)
{
    QFont f;
    // One face for both weights: SimSun has no bold either, and Windows draws its bold by
    // emboldening the regular face. Qt does the same with UMing, so bold costs no second
    // CJK face (Noto Serif CJK Bold alone is some 6 MB of the program's memory).
    f.setFamilies(QStringList{u"宋体"_s, u"SimSun"_s, u"AR PL UMing CN"_s, u"Noto Serif CJK SC"_s});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QFont sans(qreal pointSize)
{
    QFont f;
    f.setFamilies(QStringList{u"Microsoft YaHei"_s, u"Noto Sans CJK SC"_s, u"WenQuanYi Micro Hei"_s});
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace Fonts
