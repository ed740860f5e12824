// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/key_moments.h"
#include "core/day/session_schedule.h"

#include <QList>
#include <QString>
#include <optional>

// A desktop notification: a heading and a line under it.
struct DesktopNotice {
    QString summary;
    QString body;

    bool operator==(const DesktopNotice&) const = default;
};

// The notification of a tick of the schedule. A key moment of a trading day is a tick that asks
// for a voice prompt and gives its advice (the auctions, the sessions' key minutes, the close);
// its notification is the status and the first sentence of the advice, for a trader who does
// not hear the voice; at the close, whose advice goes back to the welcome, the next trading day
// after today and its first moment. Any other tick (the welcome, a closed day's prompt) has
// none. status and advice are the day's after the tick.
std::optional<DesktopNotice> momentNotice(const QList<ScheduleEffect>& effects, const QString& status,
                                          const QString& advice, QDate today,
                                          const TradingCalendar& calendar);

// Up to and including the first full stop, exclamation or question mark, else without the
// trailing " ... ...".
QString firstSentence(const QString& text);
