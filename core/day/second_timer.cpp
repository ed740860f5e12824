// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"

#include "core/services/clock.h"

#include <QElapsedTimer>

namespace {

qint64 secondOf(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}

} // namespace

SecondTimer::SecondTimer(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SecondTimer::fire);
}

void SecondTimer::start(int notBeforeMs)
{
    m_running = true;
    m_lastSecond = -1;
    m_firstNotBefore.setRemainingTime(notBeforeMs);
    arm(notBeforeMs);
}

void SecondTimer::arm(int notBeforeMs)
{
    // Aimed at the second start itself: the clock's milliseconds are whole, so the wait is never
    // short of it, and a timer that wakes a moment early waits for the next second below. After
    // a step back, the next second not yet told.
    const qint64 ms = m_clock.now().toMSecsSinceEpoch();
    const qint64 next = m_lastSecond >= 0 && m_lastSecond - secondOf(ms) <= kCatchUpSeconds
                            ? qMax(secondOf(ms), m_lastSecond) + 1
                            : secondOf(ms) + 1;
    qint64 delay = next * 1000 - ms;
    while (delay < notBeforeMs)
        delay += 1000;
    m_aimMs = ms + delay;
    m_timer.start(int(qMax<qint64>(0, delay - kEarlyMs)));
}

void SecondTimer::clockMoved()
{
    if (!m_running || m_telling)
        return;
    if (m_lastSecond < 0)
        arm(int(m_firstNotBefore.remainingTime()));
    // A second the clock jumped into is still told, a little late rather than never.
    else if (secondOf(m_clock.now().toMSecsSinceEpoch()) > m_lastSecond)
        m_timer.start(0);
    else
        arm();
}

void SecondTimer::fire()
{
    QDateTime now = m_clock.now();
    qint64 ms = now.toMSecsSinceEpoch();
    // Woken a little early on purpose (a timer may also land a millisecond early on Windows): the
    // second is told as it begins, not when the system gets round to waking us. The clock is read
    // until it is there, never for longer than that can take (a clock that stands still, a test's,
    // costs a few milliseconds).
    const qint64 ahead = m_aimMs - ms;
    if (ahead > 0 && ahead <= 2 * kEarlyMs) {
        QElapsedTimer waited;
        waited.start();
        while (ms < m_aimMs && waited.nsecsElapsed() < (ahead + 1) * 1'000'000) {
            now = m_clock.now();
            ms = now.toMSecsSinceEpoch();
        }
    }
    const qint64 second = secondOf(ms);
    qint64 from = m_lastSecond + 1;
    // A start, or a jump too large to catch up on: this second alone.
    if (m_lastSecond < 0 || second - m_lastSecond > kCatchUpSeconds ||
        m_lastSecond - second > kCatchUpSeconds)
        from = second;
    m_telling = true;
    for (qint64 s = from; s <= second && m_running; ++s) {
        m_lastSecond = s;
        emit this->second(now.addMSecs(s * 1000 - ms));
    }
    m_telling = false;
    // Stopped by what it told (the program ends): stays stopped.
    if (m_running)
        arm();
}
