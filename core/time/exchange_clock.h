// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/clock.h"

#include <QObject>

// The exchanges' clock: the computer's clock, plus the offset measured against time servers
// when the trader asks for standard time. Everything that reminds runs on it, so a corrected
// second is one second for the day, the tools and --console alike.
class ExchangeClock final : public QObject, public Clock {
    Q_OBJECT
public:
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
    void setOffsetMs(qint64 ms);

signals:
    void offsetChanged(qint64 ms);

private:
    const Clock& m_computer;
    qint64 m_offsetMs = 0;
};
