// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

class Clock;

// A one-second timer that follows the wall clock: each timeout comes a few milliseconds
// after a second begins, once per second. A plain 1000 ms timer drifts against the clock
// and can skip a second (15:00:08, say) or fire twice in one.
class SecondTimer : public QObject {
    Q_OBJECT
public:
    explicit SecondTimer(const Clock& clock, QObject* parent = nullptr);

    static constexpr int kInterval = 1000;
    int interval() const { return kInterval; }
    bool isActive() const { return m_timer.isActive(); }
    // The first timeout comes at the first second start at least notBeforeMs from now.
    void start(int notBeforeMs = 0);
    int remainingTime() const { return m_timer.remainingTime(); }
    void stop() { m_timer.stop(); }

signals:
    void timeout();

private:
    void arm(int notBeforeMs = 0);
    void fire();

    const Clock& m_clock;
    QTimer m_timer;
    qint64 m_lastSecond = -1;
};

// Enables a timer the way the design's timers are enabled: one already running keeps its rhythm.
inline void enableTimer(QTimer& timer)
{
    if (!timer.isActive())
        timer.start();
}
