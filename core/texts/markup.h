// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Markup {

// The viewer's conversion: "<BR>", then "BR", then "<br>" each become CR LF; exact case,
// every non-overlapping occurrence, in that order. CR LF already in the text stays.
QString toViewerText(const QString& body);

// The user's texts keep "<br>" in the record and CR LF (or a lone LF) in text boxes.
QString brToLineBreaks(const QString& text);
QString lineBreaksToBr(const QString& text);

} // namespace Markup
