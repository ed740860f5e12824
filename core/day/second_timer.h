// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

class Clock;

// A one-second timer that follows the wall clock: each timeout comes as a second begins, once
// per second. A plain 1000 ms timer drifts against the clock
// and can skip a second (15:00:08, say) or fire twice in one.
class SecondTimer : public QObject {
    Q_OBJECT
public:
    explicit SecondTimer(const Clock& clock, QObject* parent = nullptr);

    bool isActive() const { return m_timer.isActive(); }
    // The first timeout comes at the first second start at least notBeforeMs from now.
    void start(int notBeforeMs = 0);
    int remainingTime() const { return m_timer.remainingTime(); }
    void stop() { m_timer.stop(); }
    // The clock was set: aims at its next second start, at once when it is in a second not yet
    // told. Not started by it when stopped.
    void clockMoved();

signals:
    void timeout();

private:
    void arm(int notBeforeMs = 0);
    void fire();

    const Clock& m_clock;
    QTimer m_timer;
    qint64 m_lastSecond = -1;
    QDeadlineTimer m_firstNotBefore;
};
