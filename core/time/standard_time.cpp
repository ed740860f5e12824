// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/standard_time.h"

#include "core/time/exchange_clock.h"

#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcClock, "tickbell.clock")

namespace {
// A step seen again soon after a measurement waits this long, so that a clock that keeps
// jumping does not flood the servers.
constexpr qint64 kStepPauseMs = 60 * 1000;
} // namespace

QString computerDifference(qint64 offsetMs)
{
    const qint64 tenths = (qAbs(offsetMs) + 50) / 100;
    if (tenths == 0)
        return u"与本机相差不到 0.1 秒"_s;
    return u"本机%1 %2.%3 秒"_s.arg(offsetMs > 0 ? u"慢"_s : u"快"_s).arg(tenths / 10).arg(tenths % 10);
}

StandardTime::StandardTime(ExchangeClock& clock, NetworkTime* network, std::function<QStringList()> servers,
                           std::function<qint64()> steadyMs, QObject* parent)
    : QObject(parent), m_clock(clock), m_network(network), m_servers(std::move(servers)),
      m_steadyMs(std::move(steadyMs))
{
    m_elapsed.start();
    if (!m_steadyMs)
        m_steadyMs = [this] { return m_elapsed.elapsed(); };
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, &StandardTime::measure);
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &StandardTime::watch);
}

void StandardTime::setOn(bool on)
{
    if (on == isOn())
        return;
    if (on) {
        m_watch.start();
        m_state = State::Measuring;
        emit changed();
        measure();
    } else {
        // An answer still on its way is dropped; nothing more is sent.
        m_asking = 0;
        m_next.stop();
        m_watch.stop();
        m_goodAt = {};
        m_failures = 0;
        m_agreement = {};
        m_clock.setOffsetMs(0);
        m_state = State::Off;
        emit changed();
    }
    emit switched(on);
}

void StandardTime::measure()
{
    if (!isOn() || m_asking)
        return;
    m_next.stop();
    m_asking = ++m_asked;
    m_askedAtMs = m_steadyMs();
    if (!m_network) {
        finished({});
        return;
    }
    const int asking = m_asking;
    m_network->measure(m_servers ? m_servers() : QStringList(), this,
                       [this, asking](const QList<ServerAnswer>& answers) {
                           if (asking == m_asking)
                               finished(answers);
                       });
}

void StandardTime::finished(const QList<ServerAnswer>& answers)
{
    m_asking = 0;
    m_agreement = agree(answers);
    if (m_agreement.ok) {
        const qint64 offsetMs = (m_agreement.offsetUs + (m_agreement.offsetUs < 0 ? -500 : 500)) / 1000;
        m_failures = 0;
        m_goodAt = m_clock.computer().now();
        m_driftAtGood = drift();
        m_clock.setOffsetMs(offsetMs);
        qCInfo(lcClock, "standard time: %lld ms ± %lld ms, %d of %d answers agree", qlonglong(offsetMs),
               qlonglong(m_agreement.accuracyUs / 1000), m_agreement.agreeing, m_agreement.answered);
        m_next.start(kIntervalMs);
        m_state = State::Measured;
        emit changed();
        return;
    }
    ++m_failures;
    qCWarning(lcClock, "standard time: %s (%d answers of %lld servers)",
              m_agreement.answered > 0 ? "the servers disagree" : "no server answered", m_agreement.answered,
              qlonglong(answers.size()));
    m_next.start(int(qMin<qint64>(qint64(kFirstRetryMs) << qMin(m_failures - 1, 8), kIntervalMs)));
    const qint64 age = m_goodAt.isValid() ? m_goodAt.msecsTo(m_clock.computer().now()) : -1;
    if (age >= 0 && age <= kHoldMs) {
        m_state = State::Held;
    } else {
        m_goodAt = {};
        m_clock.setOffsetMs(0);
        m_state = State::Computer;
    }
    emit changed();
}

void StandardTime::watch()
{
    if (!m_goodAt.isValid())
        return;
    if (m_state == State::Held && m_goodAt.msecsTo(m_clock.computer().now()) > kHoldMs) {
        qCWarning(lcClock,
                  "standard time: the last offset is six hours old; the computer's clock from now on");
        m_goodAt = {};
        m_clock.setOffsetMs(0);
        m_state = State::Computer;
        emit changed();
        return;
    }
    const qint64 step = drift() - m_driftAtGood;
    if (qAbs(step) < kStepMs || m_asking)
        return;
    // The computer's clock was set: the offset no longer says how far it is off.
    qCInfo(lcClock, "standard time: the computer's clock moved %lld ms; measuring again", qlonglong(step));
    m_goodAt = {};
    const qint64 since = m_steadyMs() - m_askedAtMs;
    if (since >= kStepPauseMs)
        measure();
    else
        m_next.start(int(kStepPauseMs - since));
}

qint64 StandardTime::drift() const
{
    return m_clock.computer().now().toMSecsSinceEpoch() - m_steadyMs();
}

QString StandardTime::note() const
{
    const QString failure = m_agreement.answered > 0 ? u"服务器说法不一"_s : u"未能对时"_s;
    switch (m_state) {
    case State::Off: return {};
    case State::Measuring: return u"正在对时，暂按本机时间"_s;
    case State::Measured: return u"标准时间，"_s + computerDifference(m_clock.offsetMs());
    case State::Held: return failure + u"，仍按上次："_s + computerDifference(m_clock.offsetMs());
    case State::Computer: return failure + u"，按本机时间"_s;
    }
    return {};
}
