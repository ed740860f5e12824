// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

class Clock;

// A one-second timer that follows a clock: it tells each of the clock's seconds once, in order,
// as the second begins. A plain 1000 ms timer drifts against the clock and can skip a second
// (15:00:08, say) or fire twice in one. When the clock moves back, the seconds already told are
// not told again; when it moves forward by up to kCatchUpSeconds, the seconds jumped over are
// told at once, in order; a larger jump either way (sleep and resume, a clock set by hours)
// starts afresh from the new second, as a start does.
class SecondTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kCatchUpSeconds = 60;
    // The timer wakes this much before a second and reads the clock until the second begins: a
    // wake-up can come a millisecond or two late, and the timer counts whole milliseconds.
    static constexpr int kEarlyMs = 2;

    explicit SecondTimer(const Clock& clock, QObject* parent = nullptr);

    bool isActive() const { return m_running; }
    // The first second told is the first second start at least notBeforeMs from now.
    void start(int notBeforeMs = 0);
    int remainingTime() const { return m_timer.remainingTime(); }
    void stop()
    {
        m_running = false;
        m_timer.stop();
    }
    // The clock was set: aims at its next second start, at once when it is in a second not yet
    // told. Not started by it when stopped.
    void clockMoved();

signals:
    // One of the clock's seconds, at its start (in the clock's zone).
    void second(const QDateTime& at);

private:
    void arm(int notBeforeMs = 0);
    void fire();

    const Clock& m_clock;
    QTimer m_timer;
    qint64 m_aimMs = 0;       // the second start the timer is armed for, ms since 1970
    qint64 m_lastSecond = -1; // since 1970; -1: none told since the start
    bool m_running = false;
    bool m_telling = false; // a clock moved by what a second tells is read again after it
    QDeadlineTimer m_firstNotBefore;
};
