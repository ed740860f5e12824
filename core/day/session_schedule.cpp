// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/session_schedule.h"

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

const QString kMorningAdvice =
    u"注意：当前是上午开盘时间，中午11:30收盘，上午的走势将在9:40和10:30基本形成，注意量能 ... ..."_s;
const QString kKeyPointAdvice =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，10:30及14:00后有可能拉起来 ... ..."_s;
const QString kClosingSoonAdvice = u"注意：盘中关键时间点，五分钟后就收盘了，买卖要把握好时间 ... ..."_s;
const QString kMiddayAdvice = u"注意：现在是中午休盘时间，下午12:50分机构开始竞价，13:00-15:00是开盘时间。"_s;
const QString kAfternoonAdvice =
    u"注意：当前是下午开盘时间，下午15:00收盘，下午的走势14:00基本形成，注意量能 ... ..."_s;
const QString kAfternoonKeyPointAdvice =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，上午一直弱势振荡，14:00后有可能拉起来 ... ..."_s;

const QString kAuctionPrompt = u"机构竞价.wav"_s;

struct KeyWindow {
    QTime from;
    QString status; // empty: the status stays "股市开盘中..."
    QString prompt;
    const QString* advice;
};

// The windows of the sessions, each one minute long, tested in this order.
const KeyWindow kSessionWindows[] = {
    {QTime(9, 30), {}, u"上午开盘时间.wav"_s, &kMorningAdvice},
    {QTime(9, 40), u"盘中关键点.."_s, u"盘中关键时间点1.wav"_s, &kKeyPointAdvice},
    {QTime(10, 30), u"盘中关键点.."_s, u"盘中关键时间点2.wav"_s, &kKeyPointAdvice},
    {QTime(11, 25), u"快收盘了!"_s, u"5分钟后收盘.wav"_s, &kClosingSoonAdvice},
    {QTime(13, 0), {}, u"下午开盘时间.wav"_s, &kAfternoonAdvice},
    {QTime(13, 10), u"盘中关键点.."_s, u"盘中关键时间点1.wav"_s, &kAfternoonKeyPointAdvice},
    {QTime(14, 0), u"盘中关键点.."_s, u"盘中关键时间点2.wav"_s, &kAfternoonKeyPointAdvice},
    {QTime(14, 55), u"快收盘了!"_s, u"5分钟后收盘.wav"_s, &kClosingSoonAdvice},
};

bool within(QTime t, QTime from, QTime to)
{
    return t >= from && t < to;
}

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

} // namespace

namespace {

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

    auto auctionReminder = [&] {
        b.prompt(kAuctionPrompt);
        b.advice(ScheduleText::AuctionAdvice);
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
    } else if (t >= QTime(15, 0)) {
        b.status(u"今天已收盘..."_s);
        if (t < QTime(15, 1))
            b.promptStep(u"今天已收盘.wav"_s, ScheduleText::Welcome);
        if (isOn(settings.shutdown15) && t == QTime(15, 0, 8))
            b.launch(Launch::QuickShutdown);
        if (autoexit)
            b.armCountdown();
    } else if (t < QTime(9, 30)) {
        b.status(u"还没开盘..."_s);
        if (t >= QTime(9, 20) && b.playok() != kAuctionPrompt)
            auctionReminder();
    } else if (within(t, QTime(11, 30), QTime(13, 0))) {
        b.status(u"中午休盘中..."_s);
        if (t < QTime(11, 31))
            b.promptStep(u"中午休盘时间.WAV"_s, kMiddayAdvice);
        if (within(t, QTime(12, 50), QTime(12, 51)) && b.playok() != kAuctionPrompt)
            auctionReminder();
    } else {
        // The key minutes override the status on every tick of the minute; settle it first so
        // the label is written once a tick.
        const KeyWindow* window = nullptr;
        for (const KeyWindow& w : kSessionWindows) {
            if (within(t, w.from, w.from.addSecs(60))) {
                window = &w;
                break;
            }
        }
        b.status(window && !window->status.isEmpty() ? window->status : u"股市开盘中..."_s);
        if (window)
            b.promptStep(window->prompt, *window->advice);
    }
    result.effects = b.take();
    return result;
}
