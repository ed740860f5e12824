// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where a once-a-second timer lands against the wall clock: the program's SecondTimer on
// the system clock, or a plain 1000 ms coarse QTimer for comparison. Figures only.
//   bench_second_timer --timer second|coarse [--seconds N]

#include "core/day/second_timer.h"
#include "core/services/clock.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

qint64 wallMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString kind = u"second"_s;
    int seconds = 130;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--timer"_s)
            kind = args[i + 1];
        else if (args[i] == u"--seconds"_s)
            seconds = std::max(3, args[i + 1].toInt());
    }

    std::vector<qint64> landings; // wall-clock microseconds of each timeout
    auto record = [&landings] { landings.push_back(wallMicros()); };

    SystemClock clock;
    SecondTimer second(clock);
    QTimer coarse;
    if (kind == u"coarse"_s) {
        coarse.setInterval(1000); // the default timer type: coarse
        QObject::connect(&coarse, &QTimer::timeout, record);
        coarse.start();
    } else {
        kind = u"second"_s;
        QObject::connect(&second, &SecondTimer::second, record);
        second.start();
    }
    const qint64 startSecond = wallMicros() / 1'000'000;
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const qint64 endSecond = wallMicros() / 1'000'000;

    // Judge only the whole seconds strictly inside the run.
    std::map<qint64, int> perSecond;
    for (qint64 s = startSecond + 1; s < endSecond; ++s)
        perSecond[s] = 0;
    std::vector<double> offsets;
    for (const qint64 us : landings) {
        const qint64 s = us / 1'000'000;
        auto it = perSecond.find(s);
        if (it == perSecond.end())
            continue;
        ++it->second;
        offsets.push_back(double(us % 1'000'000) / 1000.0);
    }
    int skipped = 0;
    int doubled = 0;
    for (const auto& [s, n] : perSecond) {
        if (n == 0)
            ++skipped;
        else if (n > 1)
            ++doubled;
    }
    std::printf(
        "timer=%s seconds=%zu ticks=%zu median_ms=%.1f p99_ms=%.1f max_ms=%.1f min_ms=%.1f skipped=%d "
        "doubled=%d\n",
        qUtf8Printable(kind), perSecond.size(), offsets.size(), percentile(offsets, 0.5),
        percentile(offsets, 0.99), percentile(offsets, 1.0), percentile(offsets, 0.0), skipped, doubled);
    return 0;
}
