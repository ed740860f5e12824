// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/exchange_clock.h"

#include <QMetaObject>

namespace {
constexpr int kChinaOffset = 8 * 3600;
} // namespace

ExchangeClock::ExchangeClock(const Clock& computer, QObject* parent) : QObject(parent), m_computer(computer)
{
}

QDateTime ExchangeClock::now() const
{
    followSteps();
    // Added to the moment, not to the clock face: midnight and a daylight-saving change fall
    // where they belong.
    return m_computer.now().addMSecs(m_offsetMs);
}

QDateTime ExchangeClock::beijing(const QDateTime& t)
{
    return t.toOffsetFromUtc(kChinaOffset);
}

qint64 ExchangeClock::computerDrift() const
{
    return cleanDrift().value_or(m_computer.now().toMSecsSinceEpoch() - m_computer.steadyMs());
}

std::optional<qint64> ExchangeClock::cleanDrift() const
{
    // The steady clock on both sides: a reading interrupted between the two clocks (a busy
    // machine) is read again rather than taken for a step.
    for (int tries = 0; tries < 3; ++tries) {
        const qint64 before = m_computer.steadyMs();
        const qint64 drift = m_computer.now().toMSecsSinceEpoch() - before;
        if (m_computer.steadyMs() - before <= 1)
            return drift;
    }
    return std::nullopt;
}

void ExchangeClock::followSteps() const
{
    if (!m_holding)
        return;
    const std::optional<qint64> clean = cleanDrift();
    if (!clean)
        return; // looked at again at the next reading
    const qint64 drift = *clean;
    const qint64 steady = m_computer.steadyMs();
    const qint64 step = drift - m_driftMs;
    // Slewing moves the clocks apart by at most half a millisecond a second.
    const qint64 allowed = kStepMs + (steady - m_steadyAt) / 1000;
    m_driftMs = drift;
    m_steadyAt = steady;
    if (qAbs(step) <= allowed)
        return;
    auto* self = const_cast<ExchangeClock*>(this);
    const bool drop = qAbs(m_offsetMs - step) > kMostOffsetMs;
    if (drop) {
        m_holding = false;
        m_offsetMs = 0;
    } else {
        m_offsetMs -= step;
    }
    // Told after this reading: a reader in the middle of its work sees no signal.
    QMetaObject::invokeMethod(
        self,
        [self, step, drop] {
            if (drop)
                emit self->offsetChanged(0);
            emit self->stepped(step, drop);
        },
        Qt::QueuedConnection);
}

void ExchangeClock::setOffsetMs(qint64 ms)
{
    m_holding = true;
    m_driftMs = computerDrift();
    m_steadyAt = m_computer.steadyMs();
    if (ms == m_offsetMs)
        return;
    m_offsetMs = ms;
    emit offsetChanged(ms);
}

void ExchangeClock::dropOffset()
{
    m_holding = false;
    if (m_offsetMs == 0)
        return;
    m_offsetMs = 0;
    emit offsetChanged(0);
}
