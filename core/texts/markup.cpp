// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts/markup.h"

using namespace Qt::StringLiterals;

namespace Markup {

QString toViewerText(const QString& body)
{
    QString text = body;
    text.replace(u"<BR>"_s, u"\r\n"_s);
    text.replace(u"BR"_s, u"\r\n"_s);
    text.replace(u"<br>"_s, u"\r\n"_s);
    return text;
}

QString brToLineBreaks(const QString& text)
{
    QString out = text;
    return out.replace(u"<br>"_s, u"\r\n"_s);
}

QString lineBreaksToBr(const QString& text)
{
    QString out = text;
    out.replace(u"\r\n"_s, u"<br>"_s);
    // Qt's text boxes break lines with LF alone.
    out.replace(u'\n', u"<br>"_s);
    out.replace(u'\r', u"<br>"_s);
    return out;
}

} // namespace Markup
