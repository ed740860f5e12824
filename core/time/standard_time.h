// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"
#include "core/time/agreement.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class ExchangeClock;

// 按标准时间提醒: while on, measures the computer's clock against the time servers at once, then
// every 30 minutes, and keeps the exchange clock on the servers' time. When a measurement fails
// the last good offset holds for up to six hours, then the computer's clock. A step of the
// computer's clock is taken out of the offset by the exchange clock at once, then measured
// again; one during a measurement is taken out of its result. An offset beyond NTP's panic
// threshold is never taken: the computer's clock is far off, and the trader is told. While off,
// nothing is sent anywhere (a measurement under way is abandoned) and the computer's clock is
// used.
class StandardTime : public QObject {
    Q_OBJECT
public:
    enum class State {
        Off,       // the computer's clock
        Measuring, // the first answer is not in yet: the computer's clock meanwhile
        Measured,  // the latest measurement's offset
        Held,      // the latest failed: the last good offset, for up to kHoldMs
        Computer,  // failed, and no good offset recent enough: the computer's clock
        FarOff,    // the servers agree the computer's clock is off by more than is believable
    };
    static constexpr int kIntervalMs = 30 * 60 * 1000;
    static constexpr int kFirstRetryMs = 2 * 60 * 1000; // doubled after each failure, up to the interval
    static constexpr qint64 kHoldMs = 6 * 3600 * 1000;
    static constexpr int kWatchMs = 2000;

    // network may be null (nothing to measure with: every measurement fails). servers gives the
    // list at each measurement.
    StandardTime(ExchangeClock& clock, NetworkTime* network, std::function<QStringList()> servers,
                 QObject* parent = nullptr);

    bool isOn() const { return m_state != State::Off; }
    // Switched on, it measures at once, or measureInMs later (at the program's start: after the
    // window's first paint, so that no answer waits in a busy start-up and measures it).
    void setOn(bool on, int measureInMs = 0);
    State state() const { return m_state; }
    // For the clock line: which clock it shows and by how much the computer's differs; empty
    // while off.
    QString note() const;
    // FarOff: the servers' verdict in words a person reads, and where to look.
    QString farOffText() const;

    // The timers' work, public so that tests can run it without waiting.
    void measure();
    void watch();

signals:
    void switched(bool on);
    void changed(); // the state, the offset or the note
    // The servers found the computer's clock far off (farOffText()); once a verdict.
    void farOff(const QString& text);

private:
    void finished(const QList<ServerAnswer>& answers, qint64 driftAtAsk);
    void computerStepped(qint64 stepMs, bool dropped);
    void abandonMeasurement();

    ExchangeClock& m_clock;
    NetworkTime* m_network;
    std::function<QStringList()> m_servers;
    State m_state = State::Off;
    Agreement m_agreement;      // of the latest measurement
    qint64 m_farOffMs = 0;      // FarOff: the servers' offset
    qint64 m_goodAtSteady = -1; // the steady clock at the last good measurement; -1: none usable
    int m_failures = 0;
    QPointer<QObject> m_asking; // the measurement under way: deleting it stops its requests
    qint64 m_askedAtSteady = 0;
    QTimer m_next;
    QTimer m_watch;
};

// "本机慢 2.5 秒", "本机快 0.3 秒", to the tenth of a second.
QString computerDifference(qint64 offsetMs);
// A long time as a person says it: "约 3 年", "2 天 5 小时", "3 小时 20 分钟", "17 分钟".
QString roughDuration(qint64 ms);
