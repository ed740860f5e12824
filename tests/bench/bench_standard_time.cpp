// SPDX-License-Identifier: GPL-3.0-or-later
// Standard time against a time server whose clock is AHEAD_MS ahead of this computer's (chronyd
// under libfaketime, run by tests/bench/run-benchmarks.sh on the same base): the main window, the
// tray and notifications and the day built as app/main.cpp builds them, 按标准时间提醒 switched
// on. Prints one line of figures: how far after the corrected second each clock-line change comes
// (the label's text set, and painted), when the auction prompt is handed to the sound system
// against the servers' 9:20:00, how far each of a number of measurements of the offset is from
// AHEAD_MS and how many requests each sent. Quits at the servers' 09:20:05.
//   bench_standard_time <program-folder> <server> [AHEAD_MS] [MEASUREMENTS] [on|off|reminders|step OFFSET]
// off, reminders: standard time stays off; the clock line against the computer's own second
// (reminders: the script gives the program 200 of the trader's reminders).
// step OFFSET: at the servers' 09:19:52 the computer's clock is set to the servers' time by
// writing OFFSET into libfaketime's FAKETIME_TIMESTAMP_FILE (read on every call with
// FAKETIME_NO_CACHE=1), and how far the exchange clock moved at that moment is printed.

#include "app/composition_root.h"
#include "core/settings/desktop_switches.h"
#include "core/time/agreement.h"
#include "nettime/sntp_client.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "ui/mainwindow/main_window.h"
#include "ui/tray/desktop_channels.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

// Notes when a watched widget has finished painting.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::function<void()> painted) : m_painted(std::move(painted)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        watched->removeEventFilter(this); // the paint itself, then note its end
        QCoreApplication::sendEvent(watched, event);
        watched->installEventFilter(this);
        m_painted();
        return true;
    }

private:
    std::function<void()> m_painted;
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
    qint64 aheadUs = (argc > 3 ? std::atoll(argv[3]) : 2500) * 1000;
    const int measurements = argc > 4 ? std::atoi(argv[4]) : 10;
    const QByteArray mode = argc > 5 ? QByteArray(argv[5]) : QByteArray("on");
    const QByteArray stepTo = argc > 6 ? QByteArray(argv[6]) : QByteArray();
    const bool standard = mode == "on" || mode == "step";
    QTimer::singleShot(120'000, &app, [] { QCoreApplication::exit(1); });

    TimedPlatform platform(makePlatformServices());
    std::unique_ptr<TradingDay> day = makeTradingDay(platform, folder, platformConfigLocation(folder));
    Form1 window(*day, platform.stacking());
    DesktopSwitches switches(day->options());
    DesktopChannels channels(*day, window, switches, platform.notifier());
    // The servers' clock; the second the clock line follows is the program's exchange clock
    // (with standard time off, the computer's own).
    const auto corrected = [&aheadUs] { return computerUs() + aheadUs; };
    const auto following = [&] { return computerUs() + day->clock().offsetMs() * 1000; };
    const auto fromSecond = [](qint64 us) {
        const double ms = double(us % 1'000'000) / 1000.0;
        return ms > 500 ? ms - 1000 : ms;
    };

    // After the window's own slot: the label has its new text. How far from the nearest second
    // start of the exchange clock, early (negative) or late; then when it is painted. (How far
    // the exchange clock is from the servers' is the offset's error, below.)
    std::vector<double> lineMs;
    std::vector<double> paintedMs;
    bool paintDue = false;
    QObject::connect(day.get(), &TradingDay::clockChanged, &window, [&] {
        if (!standard || day->standardTime().state() == StandardTime::State::Measured) {
            lineMs.push_back(qAbs(fromSecond(following())));
            paintDue = true;
        }
        const QDateTime beijing = ExchangeClock::beijing(QDateTime::fromMSecsSinceEpoch(corrected() / 1000));
        if (beijing.time() >= QTime(9, 20, 5))
            QCoreApplication::quit();
    });
    // Connected after the day's own slot: the whole second's work is done.
    std::vector<double> doneMs;
    QObject::connect(&day->tickTimer(), &SecondTimer::second, &window, [&] {
        if (paintDue)
            doneMs.push_back(fromSecond(following()));
    });
    PaintWatch paints([&] {
        if (paintDue)
            paintedMs.push_back(fromSecond(following()));
        paintDue = false;
    });
    window.findChild<QLabel*>(u"Label3"_s)->installEventFilter(&paints);

    // The computer's clock set to the servers' time at their 09:19:52, from inside.
    double stepMovedMs = -1;
    QTimer stepAt;
    if (mode == "step") {
        stepAt.setInterval(5);
        QObject::connect(&stepAt, &QTimer::timeout, &app, [&] {
            const QDateTime beijing =
                ExchangeClock::beijing(QDateTime::fromMSecsSinceEpoch(corrected() / 1000));
            if (beijing.time() < QTime(9, 19, 52))
                return;
            stepAt.stop();
            QFile file(QString::fromLocal8Bit(qgetenv("FAKETIME_TIMESTAMP_FILE")));
            QElapsedTimer steady;
            steady.start();
            const qint64 before = day->clock().now().toMSecsSinceEpoch();
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(stepTo + '\n') < 0)
                std::fprintf(stderr, "bench_standard_time: cannot write %s\n", qPrintable(file.fileName()));
            file.close();
            aheadUs = 0; // the computer's clock is the servers' now
            const qint64 after = day->clock().now().toMSecsSinceEpoch();
            stepMovedMs = double(qAbs(after - before - steady.elapsed()));
        });
        stepAt.start();
    }

    // Measurements of their own, one a second, against the same server, with the program's
    // query: how far each is from the truth, and how many requests it sent.
    std::vector<double> offsetErrorMs;
    std::vector<double> requests;
    QString parseError;
    const std::optional<SntpServer> parsed = parseSntpServer(server, &parseError);
    QTimer measure;
    measure.setInterval(1000);
    QObject::connect(&measure, &QTimer::timeout, &app, [&] {
        if (!parsed || int(offsetErrorMs.size()) >= measurements)
            return;
        auto* query = new SntpQuery({*parsed}, NetworkTime::kTimeLimitMs, &app);
        QObject::connect(query, &SntpQuery::finished, &app, [&, query](const QList<ServerAnswer>& answers) {
            query->deleteLater();
            requests.push_back(query->requestsSent());
            if (const Agreement a = agree(answers); a.ok)
                offsetErrorMs.push_back(double(qAbs(a.offsetUs - aheadUs)) / 1000.0);
        });
        query->start();
    });
    measure.start();

    day->start();
    window.show();
    day->startTicking(kFirstTickDelayMs);
    day->setStandardTime(standard);
    const int status = app.exec();

    const QDateTime auction(QDate(2010, 2, 12), QTime(9, 20), Qt::OffsetFromUTC, 8 * 3600);
    const double promptMs =
        platform.audio_.auctionUs == 0
            ? -1
            : double(platform.audio_.auctionUs + aheadUs - auction.toMSecsSinceEpoch() * 1000) / 1000.0;
    std::printf(
        "mode=%s clock_line_median_ms=%.2f clock_line_max_ms=%.1f clock_line_changes=%zu "
        "tick_done_median_ms=%.2f painted_median_ms=%.2f prompt_after_ms=%.1f offset_error_median_ms=%.3f "
        "offset_error_max_ms=%.3f offsets=%zu requests_per_measurement=%.1f program_offset_ms=%lld "
        "step_moved_ms=%.0f\n",
        mode.constData(), median(lineMs), largest(lineMs), lineMs.size(), median(doneMs), median(paintedMs),
        promptMs, median(offsetErrorMs), largest(offsetErrorMs), offsetErrorMs.size(), median(requests),
        qlonglong(day->clock().offsetMs()), stepMovedMs);
    window.hide();
    day.reset();
    platform.releaseAudio();
    return status;
}
