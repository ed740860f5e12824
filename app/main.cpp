#include "app/main_window.h"
#include "app/single_instance.h"
#include "platform/clock.h"
#include "platform/desktop_launcher.h"
#include "platform/sound_output.h"
#include "platform/window_layer.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void printLine(FILE* stream, const QString& line)
{
    std::fputs(qUtf8Printable(line + u'\n'), stream);
    std::fflush(stream);
}

void loadHolidays(TradingCalendar& calendar, const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        printLine(stderr, u"tickbell: cannot read %1: %2"_s.arg(path, file.errorString()));
        return;
    }
    const QStringList rejected = calendar.addClosedDays(QString::fromUtf8(file.read(1024 * 1024)));
    for (const QString& line : rejected)
        printLine(stderr, u"tickbell: %1: not a date, skipped: %2"_s.arg(path, line));
}

} // namespace

int main(int argc, char* argv[])
{
    qSetMessagePattern(u"tickbell: %{if-category}%{category}: %{endif}%{message}"_s);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"tickbell"_s);
    QApplication::setApplicationVersion(QStringLiteral(TICKBELL_VERSION_STRING));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Tickbell: a trading-day reminder for the Shanghai and Shenzhen stock exchanges.\n"
        "It announces the call auctions, the sessions and the close by voice, shows your own\n"
        "trading rules, and starts your trading program and pages."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption console(u"console"_s,
                                     u"Also print every change of title, status and advice, and every voice "
                                     "prompt, as a line on standard output."_s);
    parser.addOption(console);
    parser.process(app);

    SingleInstance instance;
    if (!instance.claim()) {
        printLine(stderr, u"tickbell: already running; brought its window forward"_s);
        return 0;
    }

    const QString folder = QCoreApplication::applicationDirPath();
    SystemClock clock;
    SoundOutput audio;
    SystemProcessStarter starter;
    DesktopLauncher launcher(starter);
    WindowLayer stacking;

    Form1Services services;
    services.clock = &clock;
    services.audio = &audio;
    services.launcher = &launcher;
    services.stacking = &stacking;
    services.programFolder = folder;
    services.configPath = folder + u"/config.txt"_s;
    services.defaultConfigPath = folder + u"/plug/config.txt"_s;
    loadHolidays(services.calendar, folder + u"/holidays.txt"_s);
    services.exitProgram = [] { QCoreApplication::exit(0); };
    services.tell = [](const QString& line) { printLine(stderr, u"tickbell: "_s + line); };

    if (parser.isSet(console)) {
        services.mirror = [&clock](const QString& what, const QString& text) {
            printLine(stdout, clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s) + u' ' + what + u": "_s + text);
        };
    }

    Form1 window(std::move(services));
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &Form1::bringToFront);
    window.show();
    return app.exec();
}
