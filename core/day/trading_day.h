// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/calendar_keeper.h"
#include "core/calendar/trading_calendar.h"
#include "core/commands/launch_targets.h"
#include "core/day/moment_notice.h"
#include "core/day/second_timer.h"
#include "core/day/session_schedule.h"
#include "core/reminders/reminder_book.h"
#include "core/settings/program_options.h"
#include "core/settings/settings.h"
#include "core/settings/settings_file.h"
#include "core/settings/settings_keeper.h"
#include "core/time/exchange_clock.h"
#include "core/time/standard_time.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class AudioOutput;
class CodePage;
class Clock;
class Launcher;
class ReminderVoice;
class Speech;

// What the day needs from outside; tests pass fakes.
struct TradingDayServices {
    const Clock* clock = nullptr; // the computer's
    const CodePage* codePage = nullptr;
    AudioOutput* audio = nullptr;
    Launcher* launcher = nullptr;
    Speech* speech = nullptr;  // none: the trader's reminders are not read aloud
    QString programFolder;     // sound/ and plug/ live here
    QString configPath;        // config.txt
    QString defaultConfigPath; // plug/config.txt
    QString holidaysPath;      // the holidays.txt the trader's changes are saved to
    TradingCalendar calendar;
    std::unique_ptr<NetworkTime> networkTime; // none: standard time cannot be measured
    std::function<QStringList()> timeServers; // the list, read at each measurement
};

// The trading day: owns its whole state and its time for the run (the second tick, the prompt
// close, the countdown, the launcher pictures' cool-down), does the work of the ticks, the
// prompts, the countdown and the launch commands, and tells the main window and --console by
// signals. Its members keep their design names.
class TradingDay : public QObject, public SettingsKeeper, public CalendarKeeper {
    Q_OBJECT
public:
    explicit TradingDay(TradingDayServices services, QObject* parent = nullptr);
    ~TradingDay() override;

    // The day's state, by its design names; only the day changes it.
    const QString& playok = m_playok;
    const QString& SoftVer1 = m_softVer1;
    const qint16& openall = m_openall;
    const qint16& c2exit = m_c2exit;

    bool voice() const { return m_voice; } // 语音提醒
    void setVoice(bool on);
    bool autoExit() const { return m_autoExit; } // 收盘后退出软件
    void setAutoExit(bool on);
    // 按标准时间提醒: remembered in tickbell.ini beside config.txt, where the clock tool may
    // change it too.
    bool standardTimeOn() const { return m_standardTime.isOn(); }
    void setStandardTime(bool on);

    const Settings& settings() const override { return m_settings; }
    bool SaveSettings(const Settings& record, QString* error = nullptr) override;
    QString settingsPath() const override { return m_settingsFile.configPath(); }
    void LoadSettings();

    const TradingCalendar& calendar() const override { return m_services.calendar; }
    bool saveCalendar(const TradingCalendar& edited, QString* error = nullptr) override;
    QString calendarPath() const override { return m_services.holidaysPath; }
    QDate exchangeToday() const override;

    // The exchange clock: the computer's, corrected while standard time is on. Every tick,
    // prompt and stamp of the day is on it.
    const ExchangeClock& clock() const { return m_clock; }
    StandardTime& standardTime() { return m_standardTime; } // 按标准时间提醒
    // tickbell.ini beside config.txt: the program's own switches.
    ProgramOptions& options() { return m_options; }
    // The trader's own reminders, reminders.txt beside config.txt, read at start.
    ReminderBook& reminders() { return m_reminders; }
    // The next moment after now of the day's table and the trader's own reminders (kept until
    // it passes or they change).
    KeyMoment nextMoment(const QDateTime& now);
    const QString& title() const { return m_title; }
    const QString& status() const { return m_status; }
    const QString& advice() const { return m_advice; }

    // The start of a run: version and title, the welcome prompt, the settings, standard time
    // as last chosen. Once: a later call changes nothing.
    void start();
    // The once-a-second tick begins at the first second start at least notBeforeMs from now.
    // Once: a later call changes nothing.
    void startTicking(int notBeforeMs = 0);

    // The timers' work; public so that tests can run a tick without waiting for it.
    void tick();                          // Timer1, once a second: the exchange clock's second now
    void tickAt(const QDateTime& second); // the work of one second of the exchange clock
    void liftPictures();                  // Timer2, the end of the cool-down
    void closePrompt();                   // Timer3
    void countdownTick();                 // Timer4
    void playsound();                     // plays playok, unless the voice is off

    // A launcher picture's click: acts only on a picture at rest, which then stays down for the
    // cool-down.
    void pictureClick(LaunchTarget target);
    bool isPictureDown(LaunchTarget target) const { return m_picturesDown.contains(target); }
    // The launch commands: with the cool-down (the hidden buttons) or without (the menus' tools).
    void runCommand(LaunchTarget target);
    void launch(LaunchTarget target);
    // Ends the program at once, saving nothing.
    void exitProgram();
    // Once the window is up: tells calendarNotice when today lies past the holidays files; later
    // ticks tell it again when the date moves into such a year.
    void checkCalendar();
    // While the trader reads the calendar notice or completes the calendar, the after-close
    // countdown waits; each hold is released once.
    void holdCountdown() { ++m_countdownHolds; }
    void releaseCountdown() { m_countdownHolds = qMax(0, m_countdownHolds - 1); }

    // The timers, for the window's design names.
    const SecondTimer& tickTimer() const { return m_tickTimer; }
    const QTimer& coolDownTimer() const { return m_coolDownTimer; }
    const QTimer& promptTimer() const { return m_promptTimer; }
    const QTimer& countdownTimer() const { return m_countdownTimer; }

signals:
    void statusChanged(const QString& text);
    // Every tick; the standard-time note, when there is one, follows on a line of its own.
    void clockChanged(const QString& text);
    void adviceChanged(const QString& text);
    void titleChanged(const QString& text);
    // Every prompt requested; heard is false when the voice is off.
    void promptRequested(const QString& name, bool heard);
    void pictureDown(LaunchTarget target);
    void picturesUp();
    // The trading program's button was used before its path was set.
    void programPathNeeded();
    void exitRequested();
    void calendarNotice(const QString& text);
    // A key moment of a trading day, told for the desktop's notifications (see momentNotice).
    void keyMoment(const DesktopNotice& notice);
    // The computer's clock is far off what the time servers agree on: for a notification.
    void clockWarning(const DesktopNotice& notice);
    // One of the trader's own reminders, at its second (read aloud too, when the voice is on).
    void ownReminder(const QString& text);
    // The notice line's reminder: shown from its second until the next moment; empty: none.
    void reminderNotice(const QString& text);
    // What of reminders.txt could not be read (ReminderBook::notice), each time it is read or
    // saved; empty: all of it.
    void remindersFileNotice(const QString& text);
    void voiceChanged(bool on);
    void autoExitChanged(bool on);
    void standardTimeChanged(bool on);
    // A switch could not be remembered (why, in Chinese); it holds for this run.
    void optionNotSaved(const QString& why);

private:
    // Tells the world when the text changes.
    void show(QString& shown, const QString& text, void (TradingDay::*changed)(const QString&));
    void tellIfOutdated(QDate today);
    void followSavedOptions();
    // The trader's reminders that ring at this second of the exchanges' day.
    void tellOwnReminders(const QDateTime& beijing);
    void momentsChanged();

    TradingDayServices m_services;
    ExchangeClock m_clock;
    StandardTime m_standardTime;
    ProgramOptions m_options;
    ReminderBook m_reminders;
    std::unique_ptr<ReminderVoice> m_reminderVoice;
    QStringList m_reminderVoiceWaits; // read aloud once the design prompt is over
    QList<DayMoment> m_todaysMoments; // of m_momentsDate, the trader's reminders among them
    QDate m_momentsDate;
    KeyMoment m_next; // invalid: to be found again
    QDateTime m_reminderNoticeUntil;
    Settings m_settings;
    SettingsFile m_settingsFile;
    SessionSchedule m_schedule;
    QString m_title = QStringLiteral("Tickbell"); // the window's and Label1's design texts
    QString m_status = QStringLiteral("Tickbell");
    QString m_advice = ScheduleText::Welcome;
    bool m_voice = true;
    bool m_autoExit = true;
    QString m_playok;
    QString m_softVer1;
    qint16 m_openall = 0;
    qint16 m_c2exit = 16;
    bool m_started = false;
    bool m_tickingStarted = false;
    int m_countdownHolds = 0;
    int m_calendarYear = 0; // the exchange year the calendar was last checked for
    QList<LaunchTarget> m_picturesDown;
    SecondTimer m_tickTimer;
    QTimer m_coolDownTimer;
    QTimer m_promptTimer;
    QTimer m_countdownTimer;
};
