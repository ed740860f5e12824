// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/shutdown_countdown.h"

#include "system/power_off.h"

using namespace Qt::StringLiterals;

ShutdownCountdown::ShutdownCountdown(PowerOff& power, int seconds, QObject* parent)
    : QObject(parent), m_power(power), m_left(seconds)
{
    m_timer.setInterval(1000);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ShutdownCountdown::tick);
}

void ShutdownCountdown::start()
{
    m_timer.start();
    emit changed();
}

void ShutdownCountdown::tick()
{
    if (m_state != State::Counting)
        return;
    m_left = qMax(m_left - 1, 0);
    if (m_left == 0)
        ask();
    else
        emit changed();
}

void ShutdownCountdown::cancel()
{
    if (m_state == State::Counting || m_state == State::Refused)
        setState(State::Cancelled);
}

void ShutdownCountdown::powerOffNow()
{
    if (m_state == State::Counting || m_state == State::Refused)
        ask();
}

void ShutdownCountdown::ask()
{
    m_timer.stop();
    m_left = 0;
    m_refusal.clear();
    setState(State::Asking);
    m_power.requestPowerOff(this, [this](const QString& refusal) {
        if (m_state != State::Asking)
            return;
        m_refusal = refusal;
        setState(refusal.isEmpty() ? State::Accepted : State::Refused);
    });
}

void ShutdownCountdown::setState(State state)
{
    if (state != State::Counting)
        m_timer.stop();
    m_state = state;
    emit changed();
}

QString ShutdownCountdown::text() const
{
    switch (m_state) {
    case State::Counting: return u"%1 秒后关机"_s.arg(m_left);
    case State::Asking:
    case State::Accepted: return u"正在关机..."_s;
    case State::Refused: return u"没能关机：%1"_s.arg(m_refusal);
    case State::Cancelled: return u"已取消关机"_s;
    }
    return {};
}
