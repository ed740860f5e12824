// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/moment_notice.h"

#include "core/calendar/dates.h"

#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

std::optional<DesktopNotice> momentNotice(const QList<ScheduleEffect>& effects, const QString& status,
                                          const QString& advice, QDate today, const TradingCalendar& calendar)
{
    using Kind = ScheduleEffect::Kind;
    const auto has = [&effects](Kind kind) {
        return std::any_of(effects.begin(), effects.end(),
                           [kind](const ScheduleEffect& e) { return e.kind == kind; });
    };
    if (!has(Kind::RequestPrompt) || !has(Kind::SetAdvice))
        return std::nullopt;
    if (advice != ScheduleText::Welcome)
        return DesktopNotice{status, firstSentence(advice)};
    // The close: the welcome says nothing of the moment, the next trading day does.
    const KeyMoment next = nextTradingDayStart(today, calendar);
    if (!next.at.isValid())
        return DesktopNotice{status, QString()};
    return DesktopNotice{
        status, u"下一个交易日：%1%2"_s.arg(monthDayWeekday(next.at.date()), next.at.toString(u"H:mm"_s))};
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
