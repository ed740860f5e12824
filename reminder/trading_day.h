// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/launch_targets.h"
#include "reminder/session_schedule.h"
#include "reminder/trading_calendar.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QString>
#include <functional>

class AudioOutput;
class Clock;
class Launcher;

// What the trading day tells its window. The window shows it and runs the timers.
class TradingDayView {
public:
    enum class Timer {
        CoolDown,    // Timer2: the launcher pictures rise again
        PromptClose, // Timer3: the prompt is closed
        Countdown,   // Timer4: the after-close countdown
    };
    virtual ~TradingDayView() = default;
    virtual void showStatus(const QString& text) = 0;
    virtual void showClock(const QString& text) = 0;
    virtual void showAdvice(const QString& text) = 0;
    virtual void showTitle(const QString& text) = 0;
    // A timer that already runs keeps its rhythm.
    virtual void armTimer(Timer timer) = 0;
    virtual void stopTimer(Timer timer) = 0;
    // The trading program's button was used before its path was set.
    virtual void askForProgramPath() = 0;
    // Ends the program at once, saving nothing.
    virtual void exitProgram() = 0;
};

// What the day needs from outside; tests pass fakes.
struct TradingDayServices {
    const Clock* clock = nullptr;
    AudioOutput* audio = nullptr;
    Launcher* launcher = nullptr;
    QString programFolder;     // sound/ and plug/ live here
    QString configPath;        // config.txt
    QString defaultConfigPath; // plug/config.txt
    TradingCalendar calendar;
    // Every change of title, status and advice, every prompt requested, and the calendar
    // notice (--console).
    std::function<void(const QString& what, const QString& text)> mirror;
};

// The trading day: owns its whole state for the run and does the work of the ticks, the
// prompts, the countdown and the launch commands. Its members keep their design names.
class TradingDay {
public:
    TradingDay(TradingDayServices services, TradingDayView& view);

    QString playok;
    QString SoftVer1;
    qint16 openall = 0;
    qint16 c2exit = 16;
    bool voice = true;    // 语音提醒
    bool autoExit = true; // 收盘后退出软件

    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    const SettingsFile& settingsFile() const { return m_settingsFile; }
    const Clock& clock() const { return *m_services.clock; }
    const QString& title() const { return m_title; }
    const QString& status() const { return m_status; }
    const QString& advice() const { return m_advice; }

    // The start of a run: version and title, the welcome prompt, the settings.
    void start();
    void loadSettings();
    // Writes the record to config.txt; false, with the reason in *error, when it could not.
    bool saveSettings(QString* error = nullptr);

    void tick();          // Timer1, once a second
    void closePrompt();   // Timer3
    void countdownTick(); // Timer4
    void playsound();     // plays playok, unless the voice is off

    // The launch commands: with the launcher pictures' cool-down (the hidden buttons) or
    // without (the menus' tools).
    void runCommand(LaunchTarget target);
    void launch(LaunchTarget target);

    // Non-empty when today lies past the holidays file: said once on standard error.
    QString calendarNotice();

private:
    // Tells the view and the mirror, when the text changes.
    void show(QString& shown, const QString& text, void (TradingDayView::*showIt)(const QString&),
              const QString& what);
    void setStatus(const QString& text);
    void setAdvice(const QString& text);
    void setTitle(const QString& text);
    void mirror(const QString& what, const QString& text);

    TradingDayServices m_services;
    TradingDayView& m_view;
    Settings m_settings;
    SettingsFile m_settingsFile;
    SessionSchedule m_schedule;
    QString m_title = QStringLiteral("Tickbell"); // the window's and Label1's design texts
    QString m_status = QStringLiteral("Tickbell");
    QString m_advice = ScheduleText::Welcome;
};
