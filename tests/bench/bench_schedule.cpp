// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what the once-a-second schedule costs: a year of ticks driven the way the trading day
// drives them, and the calendar look-up every tick makes. Figures only; nothing here passes or fails.
//   bench_schedule [--runs N] [--days D] [--holidays path/to/holidays.txt]

#include "core/calendar/trading_calendar.h"
#include "core/day/session_schedule.h"
#include "core/settings/settings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QtCodePage kCodePage;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct YearRun {
    double seconds = 0;
    qint64 ticks = 0;
    qint64 effects = 0; // keeps the work observable, and is a figure in itself
};

// One tick a second from `start`, carrying playok and openall between ticks as the trading day does.
YearRun runYear(const SessionSchedule& schedule, const Settings& settings, const QDateTime& start,
                qint64 ticks)
{
    ScheduleMemory memory;
    YearRun run;
    QDateTime now = start;
    QElapsedTimer timer;
    timer.start();
    for (qint64 i = 0; i < ticks; ++i) {
        const TickResult result = schedule.tick(now, memory, settings, true);
        run.effects += result.effects.size() + (result.clockLine.isEmpty() ? 0 : 1);
        for (const ScheduleEffect& e : result.effects) {
            if (e.kind == ScheduleEffect::Kind::RequestPrompt)
                memory.playok = e.text;
            else if (e.kind == ScheduleEffect::Kind::MarkOpened)
                memory.openall = 1;
        }
        now = now.addSecs(1);
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.ticks = ticks;
    return run;
}

// The clock stepping alone, to tell it apart from the schedule's own work.
double stepOnlyNs(const QDateTime& start, qint64 ticks)
{
    QDateTime now = start;
    qint64 sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (qint64 i = 0; i < ticks; ++i) {
        now = now.addSecs(1);
        sink += now.time().second();
    }
    const double ns = double(timer.nsecsElapsed()) / double(ticks);
    if (sink == -1)
        std::puts("");
    return ns;
}

template <typename F> double nsPerCall(qint64 calls, F&& body)
{
    QElapsedTimer timer;
    timer.start();
    for (qint64 i = 0; i < calls; ++i)
        body(i);
    return double(timer.nsecsElapsed()) / double(calls);
}

} // namespace

int main(int argc, char* argv[])
{
    // The schedule works in local time; pin it so that runs compare.
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    QCoreApplication app(argc, argv);

    int runs = 3;
    int days = 365;
    QString holidaysPath;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--runs"_s)
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == u"--days"_s)
            days = std::max(1, args[i + 1].toInt());
        else if (args[i] == u"--holidays"_s)
            holidaysPath = args[i + 1];
    }

    TradingCalendar calendar;
    if (!holidaysPath.isEmpty()) {
        const QStringList problems = calendar.loadClosedDaysFile(holidaysPath, kCodePage);
        if (!problems.isEmpty())
            std::fprintf(stderr, "bench_schedule: %s\n", qUtf8Printable(problems.join(u"; "_s)));
    }
    const SessionSchedule schedule(calendar);
    Settings settings; // defaults: the morning launches are asked for where the defaults ask
    const QDateTime start(QDate(2010, 1, 1), QTime(0, 0));
    const qint64 ticks = qint64(days) * 86400;

    std::vector<double> perTick;
    YearRun last;
    double total = 0;
    for (int r = 0; r < runs; ++r) {
        last = runYear(schedule, settings, start, ticks);
        perTick.push_back(last.seconds * 1e9 / double(ticks));
        total += last.seconds;
    }
    const double step = stepOnlyNs(start, ticks / 10);

    std::printf("schedule.ticks            %lld (%d days from 2010-01-01, holidays file: %s)\n",
                static_cast<long long>(ticks), days, holidaysPath.isEmpty() ? "none" : "loaded");
    std::printf("schedule.ns_per_tick      %.0f  (median of %d runs; min %.0f, max %.0f)\n", median(perTick),
                runs, *std::min_element(perTick.begin(), perTick.end()),
                *std::max_element(perTick.begin(), perTick.end()));
    std::printf(
        "schedule.seconds_per_run  %.2f  (%d simulated days of ticks, median run; %.2f s for all runs)\n",
        median(perTick) * double(ticks) / 1e9, days, total);
    std::printf("schedule.step_ns          %.0f  (QDateTime::addSecs alone, included above)\n", step);
    std::printf("schedule.effects          %lld per run (clock lines + effects)\n",
                static_cast<long long>(last.effects));

    // The calendar look-up the schedule makes each tick, over ten years of days.
    const QDate first(2009, 1, 1);
    const qint64 calls = 2'000'000;
    qint64 hits = 0;
    std::vector<double> keyNs, holidayNs;
    for (int r = 0; r < 5; ++r) {
        keyNs.push_back(nsPerCall(calls, [&](qint64 i) { hits += DateKey(first.addDays(i % 3650)).size(); }));
        holidayNs.push_back(
            nsPerCall(calls, [&](qint64 i) { hits += calendar.IsHoliday(first.addDays(i % 3650)) ? 1 : 0; }));
    }
    const double dateOnly = nsPerCall(calls, [&](qint64 i) { hits += first.addDays(i % 3650).day(); });
    std::printf("calendar.DateKey_ns       %.0f  (median of 5 x %lld calls)\n", median(keyNs),
                static_cast<long long>(calls));
    std::printf("calendar.IsHoliday_ns     %.0f  (includes its DateKey; median of 5 x %lld calls)\n",
                median(holidayNs), static_cast<long long>(calls));
    std::printf("calendar.addDays_ns       %.0f  (making the date, included in both)\n", dateOnly);
    if (hits == -1)
        std::puts("");
    return 0;
}
