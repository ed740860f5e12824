// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what finding the next time of every reminder costs: 200 reminders of every 日子, on the
// shipped calendar (2026 announced, to 2030 worked out from the festival dates), from moments
// spread over those years, the calendar's days asked afresh each time. Figures only.
//   bench_reminders [--runs N] [--program-folder DIR]   (DIR holds holidays.txt, statutory-holidays.txt)

#include "core/reminders/reminder_days.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// 200 reminders: each named 日子 and dates ahead, at times through the day.
QList<Reminder> twoHundredReminders()
{
    QList<ReminderDay> days = namedReminderDays();
    for (int i = 0; i < 10; ++i)
        days << ReminderDay{ReminderDay::Rule::Date, 0, QDate(2026 + i % 5, 1 + i, 5 + i)};
    QList<Reminder> reminders;
    for (int i = 0; i < 200; ++i) {
        Reminder r;
        r.time = QTime(9 + i % 7, (i * 7) % 60, (i % 3) * 15);
        r.day = days[i % days.size()];
        r.text = u"提醒%1"_s.arg(i);
        reminders << r;
    }
    return reminders;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int runs = 201;
    QString folder = QCoreApplication::applicationDirPath() + u"/../../bin"_s;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--runs")
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == u"--program-folder")
            folder = args[i + 1];
    }
    const QtCodePage codePage;
    TradingCalendar calendar;
    const QStringList problems =
        calendar.loadClosedDaysFile(folder + u"/holidays.txt"_s, codePage) +
        calendar.loadFestivalDatesFile(folder + u"/statutory-holidays.txt"_s, codePage);
    if (!problems.isEmpty() || calendar.lastCoveredYear() == 0) {
        std::fprintf(stderr, "bench_reminders: cannot read the calendar in %s: %s\n", qUtf8Printable(folder),
                     qUtf8Printable(problems.join(u"; "_s)));
        return 1;
    }
    const QList<Reminder> reminders = twoHundredReminders();
    // Moments over the years: the day after a closure looks furthest ahead for the next one.
    QList<QDateTime> moments;
    for (int year = 2026; year <= 2030; ++year) {
        for (const QDate& d : {QDate(year, 1, 2), QDate(year, 3, 1), QDate(year, 6, 15), QDate(year, 10, 9),
                               QDate(year, 12, 31)})
            moments << QDateTime(d, QTime(15, 30), Qt::OffsetFromUTC, 8 * 3600);
    }

    std::vector<double> allMs;
    std::vector<std::vector<double>> byMoment(size_t(moments.size()));
    double worstMs = 0;
    qint64 found = 0; // keeps the work observable
    for (int run = 0; run < runs; ++run) {
        for (qsizetype m = 0; m < moments.size(); ++m) {
            const QDateTime& now = moments[m];
            QElapsedTimer timer;
            timer.start();
            const TradingDays days(calendar); // the calendar asked afresh, as after a save
            for (const Reminder& r : reminders)
                found += nextOccurrences(r, now, days).size();
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            allMs.push_back(ms);
            byMoment[size_t(m)].push_back(ms);
            worstMs = std::max(worstMs, ms);
        }
    }
    std::printf("reminders.count %lld\n", static_cast<long long>(reminders.size()));
    std::printf("reminders.moments %lld x %d runs\n", static_cast<long long>(moments.size()), runs);
    std::printf("reminders.all_next_ms_median %.3f\n", median(allMs));
    // The moment that looks furthest ahead, by its median: what a slow moment costs without the
    // machine's hiccups.
    double slowest = 0;
    qsizetype slowestAt = 0;
    for (size_t m = 0; m < byMoment.size(); ++m) {
        if (const double ms = median(byMoment[m]); ms > slowest) {
            slowest = ms;
            slowestAt = qsizetype(m);
        }
    }
    std::printf("reminders.slowest_moment_ms_median %.3f (%s)\n", slowest,
                qUtf8Printable(moments[slowestAt].toString(u"yyyy-MM-dd HH:mm"_s)));
    std::printf("reminders.all_next_ms_max %.3f\n", worstMs);
    std::printf("reminders.found %lld\n", static_cast<long long>(found));
    return 0;
}
