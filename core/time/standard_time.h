// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"
#include "core/time/agreement.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class ExchangeClock;

// 按标准时间提醒: while on, measures the computer's clock against the time servers at once, then
// every 30 minutes, and keeps the exchange clock on the servers' time. When a measurement fails
// the last good offset holds for up to six hours, then the computer's clock; a step of the
// computer's clock (set by hand, by the system's time service, after a resume) is measured
// again at once. While off, nothing is sent anywhere and the computer's clock is used.
class StandardTime : public QObject {
    Q_OBJECT
public:
    enum class State {
        Off,       // the computer's clock
        Measuring, // the first answer is not in yet: the computer's clock meanwhile
        Measured,  // the latest measurement's offset
        Held,      // the latest failed: the last good offset, for up to kHoldMs
        Computer,  // failed, and no good offset recent enough: the computer's clock
    };
    static constexpr int kIntervalMs = 30 * 60 * 1000;
    static constexpr int kFirstRetryMs = 2 * 60 * 1000; // doubled after each failure, up to the interval
    static constexpr qint64 kHoldMs = 6 * 3600 * 1000;
    static constexpr int kWatchMs = 2000;
    static constexpr qint64 kStepMs = 200; // less is drift, left to the next measurement

    // network may be null (nothing to measure with: every measurement fails). servers gives the
    // list at each measurement; steadyMs a clock that the computer's clock setting does not move
    // (a monotonic one by default).
    StandardTime(ExchangeClock& clock, NetworkTime* network, std::function<QStringList()> servers,
                 std::function<qint64()> steadyMs = {}, QObject* parent = nullptr);

    bool isOn() const { return m_state != State::Off; }
    void setOn(bool on);
    State state() const { return m_state; }
    // For the clock line: which clock it shows and by how much the computer's differs; empty
    // while off.
    QString note() const;

    // The timers' work, public so that tests can run it without waiting.
    void measure();
    void watch();

signals:
    void switched(bool on);
    void changed(); // the state, the offset or the note

private:
    void finished(const QList<ServerAnswer>& answers);
    qint64 drift() const; // the computer's clock less the steady one

    ExchangeClock& m_clock;
    NetworkTime* m_network;
    std::function<QStringList()> m_servers;
    std::function<qint64()> m_steadyMs;
    QElapsedTimer m_elapsed;
    State m_state = State::Off;
    Agreement m_agreement; // of the latest measurement
    QDateTime m_goodAt;    // the computer's time of the last good measurement; invalid: none usable
    qint64 m_driftAtGood = 0;
    int m_failures = 0;
    int m_asking = 0; // the measurement being waited for; 0: none
    int m_asked = 0;
    qint64 m_askedAtMs = 0;
    QTimer m_next;
    QTimer m_watch;
};

// "本机慢 2.5 秒", "本机快 0.3 秒", to the tenth of a second.
QString computerDifference(qint64 offsetMs);
