// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/session_schedule.h"

#include "core/day/key_moments.h"
#include "core/time/exchange_clock.h"

using namespace Qt::StringLiterals;

namespace ScheduleText {
const QString Welcome =
    u"欢迎使用，本软件将从开盘前的竞价开始用语音对您进行提醒，请确保音箱已开启。炒股不像其它行业，三分眼光七分赌，"
    "在您想买入卖出时看一眼您可以自定义的“纪律”，有时可以挽回巨大的损失，悬崖勒马，过关斩将，祝您财源滚滚！"_s;
const QString AuctionAdvice =
    u"注意：当前是开盘前十分钟的机构竞价时间。从机构竞价的情况可以知道机构今天是想看多还是看空，是想洗盘还是想出货，"
    "但机构也不能为所欲为，只能顺势而为 ... ..."_s;
const QString HolidayTomorrow = u"明天放假不开盘！"_s;
const QString WeekendTomorrow = u"明天周末不开盘！"_s;
} // namespace ScheduleText

namespace {

using Kind = ScheduleEffect::Kind;
using Launch = LaunchTarget;

const QTime kClose(15, 0);
const QTime kShutdown(15, 0, 8); // the quick shutdown, when the settings ask for it

class TickBuilder {
public:
    explicit TickBuilder(const ScheduleMemory& memory) : m_playok(memory.playok) {}

    void status(const QString& text) { add(Kind::SetStatus, text); }
    void advice(const QString& text) { add(Kind::SetAdvice, text); }
    void appendAdvice(const QString& text) { add(Kind::AppendAdvice, text); }
    void prompt(const QString& name)
    {
        m_playok = name;
        add(Kind::RequestPrompt, name);
    }
    void launch(Launch what) { m_effects.append({Kind::Launch, {}, what}); }
    void markOpened() { add(Kind::MarkOpened, {}); }
    void armCountdown() { add(Kind::ArmCountdown, {}); }

    // Requests the prompt and shows the advice only on the first tick of its window.
    void promptStep(const QString& name, const QString& adviceText)
    {
        if (m_playok == name)
            return;
        prompt(name);
        advice(adviceText);
    }

    const QString& playok() const { return m_playok; }
    QList<ScheduleEffect> take() { return std::move(m_effects); }

private:
    void add(Kind kind, const QString& text) { m_effects.append({kind, text}); }

    QString m_playok;
    QList<ScheduleEffect> m_effects;
};

QString timeOfDay(QTime t)
{
    return u"%1:%2:%3"_s.arg(t.hour())
        .arg(t.minute(), 2, 10, QChar(u'0'))
        .arg(t.second(), 2, 10, QChar(u'0'));
}

} // namespace

QDateTime SessionSchedule::exchangeTime(const QDateTime& now)
{
    return ExchangeClock::beijing(now);
}

QString SessionSchedule::clockLine(const QDateTime& now)
{
    const QDate d = now.date();
    QString line = u"%1年%2月%3日 "_s.arg(d.year()).arg(d.month()).arg(d.day()) + timeOfDay(now.time());
    if (const QDateTime beijing = exchangeTime(now); now.offsetFromUtc() != beijing.offsetFromUtc())
        line += u" 北京时间 "_s + timeOfDay(beijing.time());
    return line;
}

TickResult SessionSchedule::tick(const QDateTime& now, const ScheduleMemory& memory, const Settings& settings,
                                 bool autoexit) const
{
    const QDateTime exchange = exchangeTime(now);
    const QDate today = exchange.date();
    const QTime tm = exchange.time();
    const QTime t(tm.hour(), tm.minute(), tm.second()); // whole seconds only
    TickBuilder b(memory);

    auto auctionReminder = [&](const DayMoment& m) {
        b.prompt(m.prompt);
        b.advice(m.advice);
        const QDate tomorrow = today.addDays(1);
        if (m_calendar.IsHoliday(tomorrow))
            b.appendAdvice(ScheduleText::HolidayTomorrow);
        if (WeekdayNumber(tomorrow) == 7)
            b.appendAdvice(ScheduleText::WeekendTomorrow);
        if (memory.openall == 0) {
            if (isOn(settings.qqnews))
                b.launch(Launch::NewsPage);
            if (isOn(settings.flashweb))
                b.launch(Launch::QuotesPage);
            if (!settings.mysoft.isEmpty() && isOn(settings.ssoft))
                b.launch(Launch::TradingProgram);
            b.markOpened();
        }
    };

    TickResult result;
    result.clockLine = clockLine(now);

    if (IsWeekend(today)) {
        const int weekday = WeekdayNumber(today);
        if (weekday == 1)
            b.status(u"周末 明天开盘"_s);
        else if (weekday == 7)
            b.status(u"周末 后天开盘"_s);
        if (autoexit)
            b.armCountdown();
    } else if (m_calendar.IsHoliday(today)) {
        b.status(u"假日休盘..."_s);
        b.prompt(u"今天不开盘.wav"_s);
        if (autoexit)
            b.armCountdown();
    } else {
        // The day's table: the section's status, or a key minute's on every tick of the minute;
        // the prompt of the window that holds now, on its first tick.
        const DayMoment* window = momentWindow(t);
        b.status(window && !window->keyStatus.isEmpty() ? window->keyStatus : sectionStatus(t));
        if (window && window->auction) {
            if (b.playok() != window->prompt)
                auctionReminder(*window);
        } else if (window) {
            b.promptStep(window->prompt, window->advice);
        }
        if (t >= kClose) {
            if (isOn(settings.shutdown15) && t == kShutdown)
                b.launch(Launch::QuickShutdown);
            if (autoexit)
                b.armCountdown();
        }
    }
    result.effects = b.take();
    return result;
}
