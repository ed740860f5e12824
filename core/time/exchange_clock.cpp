// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/exchange_clock.h"

namespace {
constexpr int kChinaOffset = 8 * 3600;
} // namespace

ExchangeClock::ExchangeClock(const Clock& computer, QObject* parent) : QObject(parent), m_computer(computer)
{
}

QDateTime ExchangeClock::now() const
{
    // Added to the moment, not to the clock face: midnight and a daylight-saving change fall
    // where they belong.
    return m_computer.now().addMSecs(m_offsetMs);
}

QDateTime ExchangeClock::beijing(const QDateTime& t)
{
    return t.toOffsetFromUtc(kChinaOffset);
}

void ExchangeClock::setOffsetMs(qint64 ms)
{
    if (ms == m_offsetMs)
        return;
    m_offsetMs = ms;
    emit offsetChanged(ms);
}
