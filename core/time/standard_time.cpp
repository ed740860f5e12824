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

QString slowOrFast(qint64 offsetMs)
{
    return offsetMs > 0 ? u"慢"_s : u"快"_s;
}
} // namespace

QString computerDifference(qint64 offsetMs)
{
    const qint64 tenths = (qAbs(offsetMs) + 50) / 100;
    if (tenths == 0)
        return u"与本机相差不到 0.1 秒"_s;
    return u"本机%1 %2.%3 秒"_s.arg(slowOrFast(offsetMs)).arg(tenths / 10).arg(tenths % 10);
}

QString roughDuration(qint64 ms)
{
    const qint64 minutes = qAbs(ms) / 60'000;
    const qint64 days = minutes / 1440;
    if (days >= 365)
        return u"约 %1 年"_s.arg((days + 182) / 365);
    if (days > 0)
        return u"%1 天 %2 小时"_s.arg(days).arg(minutes % 1440 / 60);
    if (minutes >= 60)
        return u"%1 小时 %2 分钟"_s.arg(minutes / 60).arg(minutes % 60);
    return u"%1 分钟"_s.arg(minutes);
}

StandardTime::StandardTime(ExchangeClock& clock, NetworkTime* network, std::function<QStringList()> servers,
                           QObject* parent)
    : QObject(parent), m_clock(clock), m_network(network), m_servers(std::move(servers))
{
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, &StandardTime::measure);
    m_watch.setInterval(kWatchMs);
    connect(&m_watch, &QTimer::timeout, this, &StandardTime::watch);
    connect(&m_clock, &ExchangeClock::stepped, this, &StandardTime::computerStepped);
}

void StandardTime::setOn(bool on, int measureInMs)
{
    if (on == isOn())
        return;
    if (on) {
        m_watch.start();
        m_state = State::Measuring;
        emit changed();
        if (measureInMs > 0)
            m_next.start(measureInMs);
        else
            measure();
    } else {
        abandonMeasurement();
        m_next.stop();
        m_watch.stop();
        m_goodAtSteady = -1;
        m_failures = 0;
        m_agreement = {};
        m_clock.dropOffset();
        m_state = State::Off;
        emit changed();
    }
    emit switched(on);
}

void StandardTime::abandonMeasurement()
{
    // Its query and sockets go with it: nothing more is sent, a late answer finds nobody.
    delete m_asking.data();
}

void StandardTime::measure()
{
    if (!isOn() || m_asking)
        return;
    m_next.stop();
    m_askedAtSteady = m_clock.steadyMs();
    // What the answers are measured against: a step of the computer's clock before they are in
    // is taken out of them.
    const qint64 driftAtAsk = m_clock.computerDrift();
    if (!m_network) {
        finished({}, driftAtAsk);
        return;
    }
    auto* asking = new QObject(this);
    m_asking = asking;
    m_network->measure(m_servers ? m_servers() : QStringList(), asking,
                       [this, asking, driftAtAsk](const QList<ServerAnswer>& answers) {
                           asking->deleteLater();
                           if (m_asking == asking) {
                               m_asking = nullptr;
                               finished(answers, driftAtAsk);
                           }
                       });
}

void StandardTime::finished(const QList<ServerAnswer>& answers, qint64 driftAtAsk)
{
    m_agreement = agree(answers);
    if (m_agreement.ok) {
        const qint64 measuredMs = (m_agreement.offsetUs + (m_agreement.offsetUs < 0 ? -500 : 500)) / 1000;
        const qint64 stepMs = m_clock.computerDrift() - driftAtAsk;
        const qint64 offsetMs = measuredMs - stepMs;
        m_failures = 0;
        m_next.start(kIntervalMs);
        if (qAbs(offsetMs) > ExchangeClock::kMostOffsetMs) {
            qCWarning(lcClock, "standard time: the servers put this computer's clock %lld s off; not taken",
                      qlonglong(offsetMs / 1000));
            const bool news =
                m_state != State::FarOff || roughDuration(offsetMs) != roughDuration(m_farOffMs);
            m_goodAtSteady = -1;
            m_farOffMs = offsetMs;
            m_clock.dropOffset();
            m_state = State::FarOff;
            emit changed();
            if (news)
                emit farOff(farOffText());
            return;
        }
        m_goodAtSteady = m_clock.steadyMs();
        m_clock.setOffsetMs(offsetMs);
        qCInfo(lcClock, "standard time: %lld ms ± %lld ms, %d of %d answers agree%s", qlonglong(offsetMs),
               qlonglong(m_agreement.accuracyUs / 1000), m_agreement.agreeing, m_agreement.answered,
               stepMs != 0 ? qPrintable(u", %1 ms of the computer's step taken out"_s.arg(stepMs)) : "");
        m_state = State::Measured;
        emit changed();
        return;
    }
    ++m_failures;
    qCWarning(lcClock, "standard time: %s (%d answers of %lld servers)",
              m_agreement.answered > 1   ? "the servers disagree"
              : m_agreement.answered > 0 ? "one server alone is not believed"
                                         : "no server answered",
              m_agreement.answered, qlonglong(answers.size()));
    m_next.start(int(qMin<qint64>(qint64(kFirstRetryMs) << qMin(m_failures - 1, 8), kIntervalMs)));
    if (m_goodAtSteady >= 0 && m_clock.holdsOffset() && m_clock.steadyMs() - m_goodAtSteady <= kHoldMs) {
        m_state = State::Held;
    } else {
        m_goodAtSteady = -1;
        m_clock.dropOffset();
        m_state = State::Computer;
    }
    emit changed();
}

void StandardTime::computerStepped(qint64 stepMs, bool dropped)
{
    if (!isOn())
        return;
    qCInfo(lcClock, "standard time: the computer's clock moved %lld ms; %s", qlonglong(stepMs),
           dropped ? "too far to follow, measuring again" : "taken out, measuring again");
    if (dropped) {
        m_goodAtSteady = -1;
        m_state = State::Measuring;
    }
    emit changed(); // the offset the note says
    if (m_asking)
        return; // its answers are corrected by the step
    const qint64 since = m_clock.steadyMs() - m_askedAtSteady;
    if (since >= kStepPauseMs || dropped)
        measure();
    else
        m_next.start(int(kStepPauseMs - since));
}

void StandardTime::watch()
{
    if (m_state != State::Held || m_clock.steadyMs() - m_goodAtSteady <= kHoldMs)
        return;
    qCWarning(lcClock, "standard time: the last offset is six hours old; the computer's clock from now on");
    m_goodAtSteady = -1;
    m_clock.dropOffset();
    m_state = State::Computer;
    emit changed();
}

QString StandardTime::farOffText() const
{
    return u"时间服务器一致认为本机时钟%1了%2。相差太大，Tickbell 没有采用，仍按本机时间提醒；"
           "请打开 工具 > 时间校正器 检查并校正本机时钟。"_s.arg(slowOrFast(m_farOffMs),
                                                                 roughDuration(m_farOffMs));
}

QString StandardTime::note() const
{
    const QString failure = m_agreement.answered > 1   ? u"服务器说法不一"_s
                            : m_agreement.answered > 0 ? u"只有一台服务器应答"_s
                                                       : u"未能对时"_s;
    // An offset the exchange clock has just dropped (a step too large) is not believed, even
    // before the state follows.
    const State state = (m_state == State::Measured || m_state == State::Held) && !m_clock.holdsOffset()
                            ? State::Measuring
                            : m_state;
    switch (state) {
    case State::Off: return {};
    case State::Measuring: return u"正在对时，暂按本机时间"_s;
    case State::Measured:
        return (m_agreement.onlyServer ? u"标准时间（仅一台服务器），"_s : u"标准时间，"_s) +
               computerDifference(m_clock.offsetMs());
    case State::Held: return failure + u"，仍按上次："_s + computerDifference(m_clock.offsetMs());
    case State::Computer: return failure + u"，按本机时间"_s;
    case State::FarOff:
        return u"本机时钟%1了%2，相差太大未采用，按本机时间；请用时间校正器检查"_s.arg(
            slowOrFast(m_farOffMs), roughDuration(m_farOffMs));
    }
    return {};
}
