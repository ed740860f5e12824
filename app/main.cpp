// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/qt_translations.h"
#include "app/single_instance.h"
#include "app/system_services.h"
#include "platform/display_platform.h"
#include "platform/termination.h"
#include "settings/config_location.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include "platform/windows/console.h"
#include "platform/windows/settings_folder.h"
#endif

using namespace Qt::StringLiterals;

namespace {

void printLine(FILE* stream, const QString& line)
{
    std::fputs(qUtf8Printable(line + u'\n'), stream);
    std::fflush(stream);
}

// --help and --version answer without a display.
bool onlyAsksForInformation(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-?" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

ConfigLocation configLocation(const QString& folder)
{
#ifdef Q_OS_WIN
    ConfigLocation location = windowsConfigLocation(folder);
#else
    ConfigLocation location =
        chooseConfigLocation(folder, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                             folderIsWritable(folder));
#endif
    // A read-only folder that holds the user's own config.txt (a portable copy on a read-only
    // disk): the user's copy starts from those settings, not from the shipped defaults.
    const QString own = folder + u"/config.txt"_s;
    if (!location.inProgramFolder && QFileInfo::exists(own))
        location.defaultPath = own;
    return location;
}

void describe(QCommandLineParser& parser, const QString& folder, const ConfigLocation& config)
{
    parser.setApplicationDescription(
        u"Tickbell: a trading-day reminder for the Shanghai and Shenzhen stock exchanges.\n"
        "It announces the call auctions, the sessions and the close by voice, shows your own\n"
        "trading rules, and starts your trading program and pages.\n\n"
        "Settings file: %1\nProgram folder: %2"_s.arg(QDir::toNativeSeparators(config.configPath),
                                                      QDir::toNativeSeparators(folder)));
    parser.addHelpOption();
    parser.addVersionOption();
}

const QCommandLineOption kConsole(u"console"_s,
                                  u"Also print every change of title, status and advice, and every "
                                  "voice prompt, as a line on standard output."_s);

} // namespace

int main(int argc, char* argv[])
{
    qSetMessagePattern(u"tickbell: %{if-category}%{category}: %{endif}%{message}"_s);
    QCoreApplication::setApplicationName(u"tickbell"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(TICKBELL_VERSION_STRING));

    QCommandLineParser parser;
    parser.addOption(kConsole);
    if (onlyAsksForInformation(argc, argv)) {
        QCoreApplication app(argc, argv);
        const QString folder = QCoreApplication::applicationDirPath();
        describe(parser, folder, configLocation(folder));
        parser.process(app); // prints and exits
        return 0;
    }

    // Under a Wayland session the Window menu's layers need XWayland.
    if (const QByteArray platform = preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
        !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(u"org.tickbell.Tickbell"_s);
    const QString folder = QCoreApplication::applicationDirPath();
    if (!loadQtChinese(app, folder))
        printLine(stderr, u"tickbell: Qt's Chinese translations are missing; its own buttons stay English"_s);
    const ConfigLocation config = configLocation(folder);
    describe(parser, folder, config);
    parser.process(app);
#ifdef Q_OS_WIN
    if (parser.isSet(kConsole))
        attachToParentConsole();
#endif
    QApplication::setWindowIcon(programIcon());

    quitOnTerminationSignals();
    SingleInstance instance;
    if (!instance.claim()) {
        printLine(stderr, u"tickbell: already running; brought its window forward"_s);
        return 0;
    }

    SystemServices system;
    Form1Services services =
        system.make(folder, config, [](const QString& line) { printLine(stderr, u"tickbell: "_s + line); });
    if (parser.isSet(kConsole)) {
        services.mirror = [&system](const QString& what, const QString& text) {
            printLine(stdout,
                      system.clock().now().toString(u"yyyy-MM-dd HH:mm:ss"_s) + u' ' + what + u": "_s + text);
        };
    }

    auto window = std::make_unique<Form1>(std::move(services));
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(), &Form1::bringToFront);
    window->show();
    const int status = app.exec();

    // The end: the window and its timers go first, then the prompt's stream, and Qt's sound
    // service gets a moment to finish tearing that stream down before it is itself destroyed
    // (ending in the middle of that has aborted inside PulseAudio).
    window.reset();
    system.audio().release();
    QElapsedTimer drain;
    drain.start();
    while (drain.elapsed() < 100) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return status;
}
