// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_log.h"
#include "app/composition_root.h"
#include "core/settings/desktop_switches.h"
#include "core/settings/program_options.h"
#include "instance/single_instance.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "ui/mainwindow/main_window.h"
#include "ui/settings/portable_import.h"
#include "ui/tray/desktop_channels.h"
#include "version.h"
#include "widgets/program_icon.h"
#include "widgets/qt_translations.h"
#include "widgets/window_placement.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>
#include <memory>

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

// --help and --version (and a mistake beside them) answered as QCommandLineParser::process answers
// them, but wherever the answer can go: never a message box a script would wait on.
int answerInformation(QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.parse(arguments)) {
        showCommandLineText(QCoreApplication::applicationName() + u": "_s + parser.errorText() + u'\n', true);
        return 1;
    }
    if (parser.isSet(u"version"_s))
        showCommandLineText(QCoreApplication::applicationName() + u' ' +
                                QCoreApplication::applicationVersion() + u'\n',
                            false);
    else
        showCommandLineText(parser.helpText(), false);
    return 0;
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

// --console: every change of title, status and advice, every prompt, the calendar notice and
// which clock the day runs on, stamped with the program's clock (the exchange clock).
void printToConsole(TradingDay& day)
{
    const auto print = [&day](const QString& what) {
        return [&day, what](const QString& text) {
            printLine(stdout,
                      day.clock().now().toString(u"yyyy-MM-dd HH:mm:ss"_s) + u' ' + what + u": "_s + text);
        };
    };
    QObject::connect(&day, &TradingDay::titleChanged, &day, print(u"title"_s));
    QObject::connect(&day, &TradingDay::statusChanged, &day, print(u"status"_s));
    QObject::connect(&day, &TradingDay::adviceChanged, &day, print(u"advice"_s));
    QObject::connect(&day, &TradingDay::calendarNotice, &day, print(u"notice"_s));
    QObject::connect(&day, &TradingDay::ownReminder, &day, print(u"reminder"_s));
    QObject::connect(&day, &TradingDay::remindersFileNotice, &day,
                     [notice = print(u"notice"_s)](const QString& text) {
                         if (!text.isEmpty())
                             notice(text);
                     });
    QObject::connect(&day, &TradingDay::promptRequested, &day,
                     [prompt = print(u"prompt"_s)](const QString& name, bool heard) {
                         prompt(heard ? name : name + u" (voice off)"_s);
                     });
    // Which clock the day runs on, as the clock line's second line says it.
    QObject::connect(&day.standardTime(), &StandardTime::changed, &day,
                     [&day, clock = print(u"clock"_s), last = QString()]() mutable {
                         const QString note = day.standardTime().note();
                         const QString text = note.isEmpty() ? u"本机时间"_s : note;
                         if (text != last)
                             clock(last = text);
                     });
}

// On Qt's offscreen platform when the user did not choose it: no desktop was found, or it could
// not be reached (see choosePlatformPlugin).
bool withoutDesktop(const QByteArray& chosenPlatform)
{
    return QGuiApplication::platformName() == u"offscreen"_s &&
           !chosenPlatform.split(';').constFirst().trimmed().startsWith("offscreen");
}

const QString kNoDesktop =
    u"Tickbell：没有找到桌面（没有 DISPLAY，或者连不上），窗口无法显示。\n"
    "要在这个终端里跟着交易日（状态和建议照常打印，语音照常播放），请用 tickbell --console；\n"
    "要连同一个自己的桌面一起运行，请在源代码文件夹里用 scripts/run.sh。\n"
    "Tickbell: no desktop found (DISPLAY is not set, or cannot be reached), so its window cannot show.\n"
    "Run tickbell --console to follow the day in this terminal (statuses and advice printed, the\n"
    "voice still speaking), or scripts/run.sh in the source folder to run it on a desktop of its own."_s;

const QCommandLineOption kConsole(u"console"_s,
                                  u"Also print every change of title, status and advice, every voice "
                                  "prompt, and the standard-time state, as a line on standard output."_s);

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
        describe(parser, folder, platformConfigLocation(folder));
        return answerInformation(parser, QCoreApplication::arguments());
    }

    const QByteArray chosenPlatform = qgetenv("QT_QPA_PLATFORM");
    choosePlatformPlugin();

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(u"org.tickbell.Tickbell"_s);
    // Every window the main window opens (its dialogs and message boxes too) opens near it and
    // wholly on the screen.
    app.installEventFilter(new WindowPlacer(&app));
    const QString folder = QCoreApplication::applicationDirPath();
    if (!loadQtChinese(app, folder))
        qCWarning(lcApp, "Qt's Chinese translations are missing; its own buttons stay English");
    const ConfigLocation config = platformConfigLocation(folder);
    describe(parser, folder, config);
    parser.process(app);
    if (parser.isSet(kConsole))
        useParentConsole();
    if (withoutDesktop(chosenPlatform)) {
        if (!parser.isSet(kConsole)) {
            printLine(stderr, kNoDesktop);
            return 2;
        }
        qCInfo(lcApp, "no desktop: the day runs without a window of its own, on this terminal");
    }
    QApplication::setWindowIcon(programIcon());

    SingleInstance instance;
    if (!instance.claim()) {
        qCInfo(lcApp, "already running; brought its window forward");
        return 0;
    }
    // Made once this is the one copy: a second start ends without touching the sound system.
    const std::unique_ptr<PlatformServices> platform = makePlatformServices();
    platform->quitOnSystemRequests();
    // An installed copy's first start: the day starts on the defaults at once, whatever is asked.
    const bool firstStart = config.offersPortableSettings && !QFileInfo::exists(config.configPath);

    std::unique_ptr<TradingDay> day = makeTradingDay(*platform, folder, config);
    QObject::connect(day.get(), &TradingDay::exitRequested, &app, [] { QCoreApplication::exit(0); });
    if (parser.isSet(kConsole))
        printToConsole(*day);

    auto window = std::make_unique<Form1>(*day, platform->stacking());
    QObject::connect(&instance, &SingleInstance::activationRequested, window.get(), &Form1::bringToFront);
    // The tray icon and the desktop's notifications, as chosen in tickbell.ini beside config.txt.
    DesktopSwitches switches(day->options());
    auto channels = std::make_unique<DesktopChannels>(*day, *window, switches, platform->notifier(),
                                                      platform->desktopTray());
    // Switched in tickbell.ini by another program or an import: the tray follows.
    QObject::connect(&day->options(), &ProgramOptions::changedOnDisk, channels.get(),
                     &DesktopChannels::refresh);
    std::unique_ptr<PortableImport> import;
    if (config.offersPortableSettings)
        import = std::make_unique<PortableImport>(*day, *window, folder, config, platform->codePage());
    // The end of the session waits for the trader's answer about unsaved changes, as an editor's
    // does: saved, dropped, or the session goes on.
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, window.get(),
        [&window, &platform](QSessionManager& manager) {
            if (!window->hasUnsavedChanges() || !manager.allowsInteraction())
                return;
            const quintptr handle = window->window()->winId();
            platform->explainSessionWait(handle, u"交易日历的修改还没有保存"_s);
            const bool settled = window->settleUnsavedChanges();
            platform->explainSessionWait(handle, QString());
            manager.release();
            if (!settled)
                manager.cancel();
        },
        Qt::DirectConnection);
    day->start();
    window->show();
    day->startTicking(kFirstTickDelayMs);
    if (firstStart)
        QTimer::singleShot(0, import.get(), &PortableImport::offerFound);
    const int status = app.exec();

    // The end: the tray, the window and the day with its timers go first, then the prompt's
    // player with its stream.
    // On Linux, Qt 6.4 would tear its sound service down after main() returns, racing
    // PulseAudio's thread (that has aborted the program); there releasing the sound makes the
    // process end as soon as main's own objects are gone, before that teardown (see
    // platform/linux/sound_output.h).
    import.reset();
    channels.reset();
    window.reset();
    day.reset();
    platform->releaseAudio();
    return status;
}
