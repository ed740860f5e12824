// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/trading_day.h"

#include "core/calendar/holidays_file.h"
#include "core/day/countdown.h"
#include "core/day/voice_prompt.h"
#include "core/reminders/reminder_days.h"
#include "core/reminders/reminder_voice.h"
#include "core/services/audio_output.h"
#include "core/services/clock.h"
#include "core/services/launcher.h"
#include "core/services/network_time.h"
#include "version.h"

#include <QFileInfo>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcDay, "tickbell.day")

namespace {

// At the start, the first measurement waits for the window to be up: an answer read late in a
// busy start-up would be off by half the wait.
constexpr int kFirstMeasurementMs = 1500;

// Enables a timer the way the design's timers are enabled: one already running keeps its rhythm.
void enable(QTimer& timer)
{
    if (!timer.isActive())
        timer.start();
}

// The members use the services from the first one on.
TradingDayServices checked(TradingDayServices services)
{
    Q_ASSERT(services.clock && services.codePage && services.audio && services.launcher);
    return services;
}

} // namespace

TradingDay::TradingDay(TradingDayServices services, QObject* parent)
    : QObject(parent), m_services(checked(std::move(services))), m_clock(*m_services.clock),
      m_standardTime(m_clock, m_services.networkTime.get(), m_services.timeServers),
      m_options(QFileInfo(m_services.configPath).absolutePath()),
      m_reminders(ReminderBook::pathBeside(m_services.configPath)),
      m_settingsFile(m_services.configPath, m_services.defaultConfigPath, *m_services.codePage),
      m_schedule(m_services.calendar), m_tickTimer(m_clock)
{
    // A corrected clock's seconds begin elsewhere: the tick follows at once.
    connect(&m_clock, &ExchangeClock::offsetChanged, &m_tickTimer, &SecondTimer::clockMoved);
    connect(&m_standardTime, &StandardTime::switched, this, &TradingDay::standardTimeChanged);
    connect(&m_standardTime, &StandardTime::farOff, this, [this](const QString& text) {
        emit clockWarning({u"本机时钟不准"_s, text});
    });
    m_tickTimer.setParent(this);
    m_tickTimer.setObjectName(u"Timer1"_s);
    connect(&m_tickTimer, &SecondTimer::second, this, &TradingDay::tickAt);
    const struct {
        QTimer* timer;
        const char* name;
        int interval;
        void (TradingDay::*handler)();
    } timers[] = {
        {&m_coolDownTimer, "Timer2", 3000, &TradingDay::liftPictures},
        {&m_promptTimer, "Timer3", 8000, &TradingDay::closePrompt},
        {&m_countdownTimer, "Timer4", 1000, &TradingDay::countdownTick},
    };
    for (const auto& t : timers) {
        t.timer->setParent(this);
        t.timer->setObjectName(QLatin1String(t.name));
        t.timer->setInterval(t.interval);
        t.timer->setTimerType(Qt::PreciseTimer);
        connect(t.timer, &QTimer::timeout, this, t.handler);
    }
    if (m_services.speech) {
        m_reminderVoice = std::make_unique<ReminderVoice>(
            *m_services.audio, *m_services.speech,
            promptFilePath(m_services.programFolder, QString::fromUtf8(ReminderVoice::kChimeFile)));
    }
    connect(&m_reminders, &ReminderBook::changed, this, [this] {
        momentsChanged();
        emit remindersFileNotice(m_reminders.notice());
    });
}

// The timers are members: they leave the parent's children before it would delete them.
TradingDay::~TradingDay() = default;

void TradingDay::setVoice(bool on)
{
    if (m_voice == on)
        return;
    m_voice = on;
    emit voiceChanged(on);
}

void TradingDay::setAutoExit(bool on)
{
    if (m_autoExit == on)
        return;
    m_autoExit = on;
    emit autoExitChanged(on);
}

void TradingDay::setStandardTime(bool on)
{
    if (on == standardTimeOn())
        return;
    m_standardTime.setOn(on);
    QString why;
    if (!m_options.setValue(QLatin1String(ProgramOptions::kStandardTime), on, &why)) {
        qCWarning(lcDay, "%s", qUtf8Printable(why));
        emit optionNotSaved(why);
    }
}

void TradingDay::followSavedOptions()
{
    m_standardTime.setOn(m_options.flag(QLatin1String(ProgramOptions::kStandardTime), false),
                         m_tickingStarted ? 0 : kFirstMeasurementMs);
}

void TradingDay::start()
{
    if (m_started)
        return;
    m_started = true;
    m_softVer1 = u"%1.%2"_s.arg(TICKBELL_VERSION_MAJOR).arg(TICKBELL_VERSION_MINOR);
    m_openall = 0;
    show(m_title, m_title + u"v"_s + m_softVer1 + u" - Orro SOFT"_s, &TradingDay::titleChanged);
    m_playok = u"Tickbell.wav"_s;
    playsound();
    m_c2exit = 16;
    LoadSettings();
    if (m_services.configPath.isEmpty())
        return;
    m_reminders.load();
    // The clock tool offers the same switch: its change reaches a running day.
    connect(&m_options, &ProgramOptions::changedOnDisk, this, &TradingDay::followSavedOptions);
    m_options.watch();
    followSavedOptions();
}

void TradingDay::startTicking(int notBeforeMs)
{
    if (m_tickingStarted)
        return;
    m_tickingStarted = true;
    m_tickTimer.start(notBeforeMs);
}

void TradingDay::LoadSettings()
{
    const SettingsFile::Loaded loaded = m_settingsFile.load();
    m_settings = loaded.settings;
    for (const QString& problem : loaded.problems)
        qCWarning(lcDay, "%s", qUtf8Printable(problem));
}

bool TradingDay::SaveSettings(const Settings& record, QString* error)
{
    // The record holds for the rest of the run even when the file cannot take it.
    m_settings = record;
    QString why;
    if (m_settingsFile.save(m_settings, &why))
        return true;
    qCWarning(lcDay, "cannot save %s: %s", qUtf8Printable(m_settingsFile.configPath()), qUtf8Printable(why));
    if (error)
        *error = why;
    return false;
}

bool TradingDay::saveCalendar(const TradingCalendar& edited, QString* error)
{
    QString why;
    if (!HolidaysFile::save(m_services.holidaysPath, edited.ownMarks(), *m_services.codePage, &why)) {
        qCWarning(lcDay, "cannot save %s: %s", qUtf8Printable(m_services.holidaysPath), qUtf8Printable(why));
        if (error)
            *error = why;
        return false;
    }
    // The schedule holds on to this calendar: from the next tick it runs on the new days.
    m_services.calendar = edited;
    momentsChanged();
    return true;
}

QDate TradingDay::exchangeToday() const
{
    return m_clock.beijingNow().date();
}

void TradingDay::tick()
{
    tickAt(m_clock.now());
}

void TradingDay::tickAt(const QDateTime& now)
{
    const TickResult result = m_schedule.tick(now, {playok, openall}, m_settings, m_autoExit);
    const QString note = m_standardTime.note();
    emit clockChanged(note.isEmpty() ? result.clockLine : result.clockLine + u'\n' + note);
    // Left running into a new year: it may be one the holidays files do not cover.
    if (const QDate today = SessionSchedule::exchangeTime(now).date();
        m_calendarYear != 0 && today.year() != m_calendarYear)
        tellIfOutdated(today);
    using Kind = ScheduleEffect::Kind;
    for (const ScheduleEffect& effect : result.effects) {
        switch (effect.kind) {
        case Kind::SetStatus: show(m_status, effect.text, &TradingDay::statusChanged); break;
        case Kind::SetAdvice: show(m_advice, effect.text, &TradingDay::adviceChanged); break;
        case Kind::AppendAdvice: show(m_advice, m_advice + effect.text, &TradingDay::adviceChanged); break;
        case Kind::RequestPrompt:
            m_playok = effect.text;
            playsound();
            break;
        case Kind::MarkOpened: m_openall = 1; break;
        case Kind::ArmCountdown: enable(m_countdownTimer); break;
        case Kind::Launch:
            // The automatic launches are the hidden buttons' clicks, cool-down included;
            // the quick shutdown is the Tools menu's item.
            if (effect.launch == LaunchTarget::QuickShutdown)
                launch(effect.launch);
            else
                runCommand(effect.launch);
            break;
        }
    }
    if (const auto notice = momentNotice(result.effects, m_status, m_advice,
                                         SessionSchedule::exchangeTime(now).date(), m_services.calendar))
        emit keyMoment(*notice);
    tellOwnReminders(SessionSchedule::exchangeTime(now));
}

void TradingDay::momentsChanged()
{
    m_momentsDate = {};
    m_next = {};
}

KeyMoment TradingDay::nextMoment(const QDateTime& now)
{
    if (!m_next.at.isValid() || m_next.at <= now)
        m_next = nextKeyMoment(now, m_services.calendar, m_reminders.file().reminders());
    return m_next;
}

void TradingDay::tellOwnReminders(const QDateTime& beijing)
{
    const QDate today = beijing.date();
    const QTime t(beijing.time().hour(), beijing.time().minute(), beijing.time().second());
    if (m_momentsDate != today) {
        m_todaysMoments = momentsOn(today, TradingDays(m_services.calendar), m_reminders.file().reminders());
        m_momentsDate = today;
    }
    // The notice line's reminder goes at the next moment, whatever it is.
    if (m_reminderNoticeUntil.isValid() && beijing >= m_reminderNoticeUntil) {
        m_reminderNoticeUntil = {};
        emit reminderNotice({});
    }
    for (const DayMoment& m : std::as_const(m_todaysMoments)) {
        if (m.at > t)
            break;
        if (!m.own || m.at != t)
            continue;
        qCInfo(lcDay, "reminder: %s", qUtf8Printable(m.name));
        emit ownReminder(m.name);
        emit reminderNotice(m.name);
        m_reminderNoticeUntil = nextMoment(beijing).at;
        if (!m_voice || !m_reminderVoice)
            continue;
        // Never over a design prompt: after it.
        if (m_promptTimer.isActive())
            m_reminderVoiceWaits << m.name;
        else
            m_reminderVoice->tell(m.name);
    }
}

void TradingDay::liftPictures()
{
    m_picturesDown.clear();
    emit picturesUp();
    m_coolDownTimer.stop();
}

void TradingDay::playsound()
{
    emit promptRequested(playok, m_voice);
    if (!m_voice)
        return;
    // The design's prompt comes first: a reminder being read stops.
    if (m_reminderVoice && m_reminderVoice->busy())
        m_reminderVoice->stop();
    m_services.audio->play(promptFilePath(m_services.programFolder, playok));
    enable(m_promptTimer);
}

void TradingDay::closePrompt()
{
    m_services.audio->close();
    m_promptTimer.stop();
    const QStringList waits = std::exchange(m_reminderVoiceWaits, {});
    if (m_voice && m_reminderVoice) {
        for (const QString& text : waits)
            m_reminderVoice->tell(text);
    }
}

void TradingDay::countdownTick()
{
    if (m_countdownHolds > 0)
        return;
    const CountdownStep step = ::countdownTick(m_autoExit, m_c2exit, m_softVer1);
    switch (step.action) {
    case CountdownStep::Action::ShowTitle: show(m_title, step.title, &TradingDay::titleChanged); break;
    case CountdownStep::Action::Exit: exitProgram(); break;
    case CountdownStep::Action::Cancel:
        show(m_title, step.title, &TradingDay::titleChanged);
        m_countdownTimer.stop();
        break;
    }
}

void TradingDay::pictureClick(LaunchTarget target)
{
    if (isPictureDown(target))
        return;
    // Down before the launch: the not-set message box may stay open past the cool-down's end,
    // and the picture must not be left down after it.
    m_picturesDown.append(target);
    enable(m_coolDownTimer);
    emit pictureDown(target);
    launch(target);
}

void TradingDay::runCommand(LaunchTarget target)
{
    enable(m_coolDownTimer);
    launch(target);
}

void TradingDay::launch(LaunchTarget target)
{
    if (target == LaunchTarget::TradingProgram) {
        if (m_settings.mysoft.isEmpty())
            emit programPathNeeded();
        else
            m_services.launcher->openPath(m_settings.mysoft);
    } else if (LaunchTargets::isWebPage(target)) {
        m_services.launcher->openAddress(LaunchTargets::webAddress(target, SoftVer1));
    } else {
        m_services.launcher->openPath(LaunchTargets::toolPath(m_services.programFolder, target));
    }
}

void TradingDay::exitProgram()
{
    emit exitRequested();
}

void TradingDay::checkCalendar()
{
    tellIfOutdated(exchangeToday());
}

void TradingDay::tellIfOutdated(QDate today)
{
    m_calendarYear = today.year();
    const QString outdated = m_services.calendar.outdatedNotice(today);
    if (!outdated.isEmpty())
        qCWarning(lcDay, "the holidays file ends in %d; add the exchanges' closed days of the years after it",
                  m_services.calendar.lastCoveredYear());
    // A holidays file not read whole first: it may be why the year looks uncovered.
    const QString notice = m_services.calendar.unreadNotice() + outdated;
    if (!notice.isEmpty())
        emit calendarNotice(notice);
}

void TradingDay::show(QString& shown, const QString& text, void (TradingDay::*changed)(const QString&))
{
    if (shown == text)
        return;
    shown = text;
    emit(this->*changed)(text);
}
