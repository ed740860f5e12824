// SPDX-License-Identifier: GPL-3.0-or-later
// Times the phases of start-up from inside the process, to explain the figure that first_frame
// measures from outside: the main window built the way app/main.cpp builds it (real clock,
// sound, launcher, stacking, holidays file), or the bare window. The first paint is the first
// Paint event of a widget of the window; "flushed" is when the event loop is back after it, so
// the frame has gone to the X server. The sound backend is brought up as a phase of its own just
// before the main window, which would otherwise do it inside its constructor for the welcome
// prompt. Prints one line of key=value figures and quits (after 20 s at the latest).
//   startup_phases --form1 <program-folder> | --bare

#include "app/composition_root.h"
#include "bare_window.h"
#include "core/services/clock.h"
#include "instance/single_instance.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "ui/mainwindow/main_window.h"
#include "widgets/program_icon.h"

#include <QApplication>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Milliseconds from the exec of this process to now, from the kernel's start time (10 ms steps).
double sinceExecMs()
{
    std::ifstream in("/proc/self/stat");
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::vector<std::string> f;
    for (std::string s; fields >> s;)
        f.push_back(s);
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    const double startMs = std::stod(f.at(19)) * 1000.0 / double(sysconf(_SC_CLK_TCK)); // field 22
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6 - startMs;
}

// Watches every widget of the window: the top-level itself may be wholly covered by its children
// and then never gets a Paint event of its own.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, const QElapsedTimer& clock) : m_window(window), m_clock(clock)
    {
        qApp->installEventFilter(this);
    }
    double painted = -1;
    double flushed = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && painted < 0 && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_window) {
            painted = ms();
            QTimer::singleShot(0, this, [this] {
                flushed = ms();
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double ms() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    QWidget* m_window;
    const QElapsedTimer& m_clock;
};

} // namespace

int main(int argc, char* argv[])
{
    const double execToMain = sinceExecMs();
    QElapsedTimer clock;
    clock.start();
    auto ms = [&clock] { return double(clock.nsecsElapsed()) / 1e6; };
    const bool bare = argc >= 2 && std::string(argv[1]) == "--bare";
    if (!bare && argc < 3) {
        std::fprintf(stderr, "usage: startup_phases --form1 <program-folder> | --bare\n");
        return 2;
    }

    QApplication app(argc, argv);
    const double appMade = ms();
    QTimer::singleShot(20000, &app, [] { QCoreApplication::exit(1); });
    std::vector<std::pair<const char*, double>> phases{{"qapplication", appMade}};

    if (bare) {
        QMainWindow window;
        buildBareWindow(window);
        phases.emplace_back("window_built", ms());
        FirstPaint paint(&window, clock);
        window.show();
        phases.emplace_back("shown", ms());
        app.exec();
        phases.emplace_back("first_paint", paint.painted);
        phases.emplace_back("flushed", paint.flushed);
    } else {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QApplication::setWindowIcon(programIcon());
        phases.emplace_back("icon", ms());
        SingleInstance instance;
        instance.claim();
        phases.emplace_back("single_instance", ms());

        const ConfigLocation config = platformConfigLocation(folder);
        const std::unique_ptr<PlatformServices> platform = makePlatformServices();
        const std::unique_ptr<TradingDay> day = makeTradingDay(*platform, folder, config);
        phases.emplace_back("services", ms());
        // The day's welcome prompt brings the sound backend up (a round trip to the sound server);
        // done here first, so that its cost shows as a phase of its own.
        QMediaDevices::audioOutputs();
        phases.emplace_back("sound_backend", ms());

        Form1 window(*day, platform->stacking());
        day->start();
        phases.emplace_back("window_built", ms());
        FirstPaint paint(&window, clock);
        window.show();
        day->startTicking(kFirstTickDelayMs);
        phases.emplace_back("shown", ms());
        app.exec();
        phases.emplace_back("first_paint", paint.painted);
        phases.emplace_back("flushed", paint.flushed);
    }

    std::printf("exec_to_main_ms=%.0f", execToMain);
    for (const auto& [name, at] : phases)
        std::printf(" %s_ms=%.1f", name, at);
    std::printf("\n");
    return 0;
}
