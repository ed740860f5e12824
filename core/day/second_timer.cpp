// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"

#include "core/services/clock.h"

SecondTimer::SecondTimer(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SecondTimer::fire);
}

void SecondTimer::start(int notBeforeMs)
{
    m_lastSecond = -1;
    m_firstNotBefore.setRemainingTime(notBeforeMs);
    arm(notBeforeMs);
}

void SecondTimer::arm(int notBeforeMs)
{
    // Aimed at the second start itself: the clock's milliseconds are whole, so the wait is never
    // short of it, and a timer that wakes a moment early waits for the next second below.
    const qint64 ms = m_clock.now().toMSecsSinceEpoch();
    int delay = int(1000 - ms % 1000);
    while (delay < notBeforeMs)
        delay += 1000;
    m_timer.start(delay);
}

void SecondTimer::clockMoved()
{
    if (!m_timer.isActive())
        return;
    if (m_lastSecond < 0)
        arm(int(m_firstNotBefore.remainingTime()));
    // A second the clock jumped into is still told, a little late rather than never.
    else if (m_clock.now().toMSecsSinceEpoch() / 1000 != m_lastSecond)
        m_timer.start(0);
    else
        arm();
}

void SecondTimer::fire()
{
    const qint64 second = m_clock.now().toMSecsSinceEpoch() / 1000;
    arm();
    // Woken early, or twice in one second: wait for the next one.
    if (second == m_lastSecond)
        return;
    m_lastSecond = second;
    emit timeout();
}
