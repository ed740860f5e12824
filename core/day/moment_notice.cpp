// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/moment_notice.h"

#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

std::optional<DesktopNotice> momentNotice(const QList<ScheduleEffect>& effects, const QString& status,
                                          const QString& advice)
{
    using Kind = ScheduleEffect::Kind;
    const auto has = [&effects](Kind kind) {
        return std::any_of(effects.begin(), effects.end(),
                           [kind](const ScheduleEffect& e) { return e.kind == kind; });
    };
    if (!has(Kind::RequestPrompt) || !has(Kind::SetAdvice))
        return std::nullopt;
    // At the close the advice goes back to the welcome text, which says nothing about the moment.
    return DesktopNotice{status, advice == ScheduleText::Welcome ? QString() : firstSentence(advice)};
}

QString firstSentence(const QString& text)
{
    static const QRegularExpression end(u"[。！？!?]"_s);
    const qsizetype stop = text.indexOf(end);
    if (stop >= 0)
        return text.left(stop + 1);
    static const QRegularExpression trailing(u"\\s*(\\.\\.\\.\\s*)+$"_s);
    return QString(text).remove(trailing);
}
