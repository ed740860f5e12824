// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/clock.h"

#include <QObject>

#include <optional>

// The exchanges' clock: the computer's clock, plus the offset measured against time servers
// when the trader asks for standard time. Everything that reminds runs on it, so a corrected
// second is one second for the day, the tools and --console alike.
//
// While it holds an offset, a step of the computer's clock (set by hand or by the system's time
// service, seen against the steady clock) is taken out of the offset the moment it is seen, so
// the exchange clock does not move; stepped() then asks for a measurement. A step too large to be
// a correction (hours: a resume the steady clock missed, a clock set far off) drops the offset
// instead: the servers are asked again.
class ExchangeClock final : public QObject, public Clock {
    Q_OBJECT
public:
    // Less than this between two readings is the computer's clock being slewed, left to the
    // next measurement; more is a step.
    static constexpr qint64 kStepMs = 10;
    // NTP's panic threshold: no offset, measured or stepped into, beyond it is believed.
    static constexpr qint64 kMostOffsetMs = 1000 * 1000;

    explicit ExchangeClock(const Clock& computer, QObject* parent = nullptr);

    // The corrected time, in the computer's own zone.
    QDateTime now() const override;
    qint64 steadyMs() const override { return m_computer.steadyMs(); }
    // The same moment as the exchanges keep it: China Standard Time (UTC+8, no daylight saving),
    // wherever the computer is.
    QDateTime beijingNow() const { return beijing(now()); }
    static QDateTime beijing(const QDateTime& t);

    const Clock& computer() const { return m_computer; }
    qint64 offsetMs() const { return m_offsetMs; } // positive: the computer's clock is slow
    bool holdsOffset() const { return m_holding; }
    // Holds ms from now on, following the computer's clock's steps.
    void setOffsetMs(qint64 ms);
    // The computer's clock alone.
    void dropOffset();
    // The computer's clock less the steady clock: what a step of the computer's clock changes.
    qint64 computerDrift() const;

signals:
    void offsetChanged(qint64 ms);
    // The computer's clock was set while an offset was held (queued: after the reading that saw
    // it); dropped: the step was too large and the offset is gone.
    void stepped(qint64 stepMs, bool dropped);

private:
    void followSteps() const;
    std::optional<qint64> cleanDrift() const;

    const Clock& m_computer;
    // Changed by a reading that sees a step: the offset follows the computer's clock as the
    // moment it is read, not as a later tick.
    mutable qint64 m_offsetMs = 0;
    mutable bool m_holding = false;
    mutable qint64 m_driftMs = 0;  // at the last reading
    mutable qint64 m_steadyAt = 0; // the steady clock then
};
