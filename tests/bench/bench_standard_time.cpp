// SPDX-License-Identifier: GPL-3.0-or-later
// Standard time against a time server whose clock is AHEAD_MS ahead of this computer's (chronyd
// under libfaketime, run by tests/bench/run-benchmarks.sh on the same base): the main window and
// the day built as app/main.cpp builds them, 按标准时间提醒 switched on. Prints one line of
// figures: how far after the corrected second each clock-line change comes, when the auction
// prompt is handed to the sound system against corrected 9:20:00, and how far each of a number
// of measurements of the offset is from AHEAD_MS. Quits at corrected 09:20:05.
//   bench_standard_time <program-folder> <server> [AHEAD_MS] [MEASUREMENTS]

#include "app/composition_root.h"
#include "core/time/agreement.h"
#include "nettime/sntp_client.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "ui/mainwindow/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

qint64 computerUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double largest(const std::vector<double>& v)
{
    return v.empty() ? -1 : *std::max_element(v.begin(), v.end());
}

// The platform's services, with the moment of each prompt handed to the sound system noted.
class TimedAudio final : public AudioOutput {
public:
    explicit TimedAudio(AudioOutput& real) : m_real(real) {}
    void play(const QString& path) override
    {
        if (path.endsWith(u"机构竞价.wav"_s) && auctionUs == 0)
            auctionUs = computerUs();
        m_real.play(path);
    }
    void close() override { m_real.close(); }
    qint64 auctionUs = 0;

private:
    AudioOutput& m_real;
};

class TimedPlatform final : public PlatformServices {
public:
    explicit TimedPlatform(std::unique_ptr<PlatformServices> real)
        : m_real(std::move(real)), audio_(m_real->audio())
    {
    }
    const Clock& clock() const override { return m_real->clock(); }
    const CodePage& codePage() const override { return m_real->codePage(); }
    AudioOutput& audio() override { return audio_; }
    Launcher& launcher() override { return m_real->launcher(); }
    Speech& speech() override { return m_real->speech(); }
    WindowStacking& stacking() override { return m_real->stacking(); }
    DesktopNotifier* notifier() override { return m_real->notifier(); }
    void quitOnSystemRequests() override {}
    void releaseAudio() override { m_real->releaseAudio(); }

private:
    std::unique_ptr<PlatformServices> m_real;

public:
    TimedAudio audio_;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_standard_time <program-folder> <server> [AHEAD_MS] [MEASUREMENTS]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString server = QString::fromLocal8Bit(argv[2]);
    const qint64 aheadUs = (argc > 3 ? std::atoll(argv[3]) : 2500) * 1000;
    const int measurements = argc > 4 ? std::atoi(argv[4]) : 10;
    QTimer::singleShot(120'000, &app, [] { QCoreApplication::exit(1); });

    TimedPlatform platform(makePlatformServices());
    std::unique_ptr<TradingDay> day = makeTradingDay(platform, folder, platformConfigLocation(folder));
    Form1 window(*day, platform.stacking());
    const auto corrected = [aheadUs] { return computerUs() + aheadUs; }; // the server's clock

    // After the window's own slot: the label has its new text. How far from the nearest
    // corrected second start, early or late.
    std::vector<double> lineMs;
    QObject::connect(day.get(), &TradingDay::clockChanged, &window, [&] {
        if (day->standardTime().state() == StandardTime::State::Measured) {
            const double ms = double(corrected() % 1'000'000) / 1000.0;
            lineMs.push_back(ms > 500 ? 1000 - ms : ms);
        }
        const QDateTime beijing = ExchangeClock::beijing(QDateTime::fromMSecsSinceEpoch(corrected() / 1000));
        if (beijing.time() >= QTime(9, 20, 5))
            QCoreApplication::quit();
    });

    // Measurements of their own, one a second, against the same server.
    SntpNetworkTime network;
    std::vector<double> offsetErrorMs;
    QTimer measure;
    measure.setInterval(1000);
    QObject::connect(&measure, &QTimer::timeout, &app, [&] {
        network.measure({server}, &app, [&](const QList<ServerAnswer>& answers) {
            if (const Agreement a = agree(answers); a.ok && int(offsetErrorMs.size()) < measurements)
                offsetErrorMs.push_back(double(qAbs(a.offsetUs - aheadUs)) / 1000.0);
        });
    });
    measure.start();

    day->start();
    window.show();
    day->startTicking(kFirstTickDelayMs);
    day->setStandardTime(true);
    const int status = app.exec();

    const QDateTime auction(QDate(2010, 2, 12), QTime(9, 20), Qt::OffsetFromUTC, 8 * 3600);
    const double promptMs =
        platform.audio_.auctionUs == 0
            ? -1
            : double(platform.audio_.auctionUs + aheadUs - auction.toMSecsSinceEpoch() * 1000) / 1000.0;
    std::printf(
        "clock_line_median_ms=%.1f clock_line_max_ms=%.1f clock_line_changes=%zu prompt_after_ms=%.1f "
        "offset_error_median_ms=%.3f offset_error_max_ms=%.3f offsets=%zu program_offset_ms=%lld\n",
        median(lineMs), largest(lineMs), lineMs.size(), promptMs, median(offsetErrorMs),
        largest(offsetErrorMs), offsetErrorMs.size(), qlonglong(day->clock().offsetMs()));
    window.hide();
    day.reset();
    platform.releaseAudio();
    return status;
}
