// SPDX-License-Identifier: GPL-3.0-or-later
#include "reminder/trading_day.h"

#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "reminder/countdown.h"
#include "reminder/voice_prompt.h"
#include "version.h"

#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcDay, "tickbell.day")

TradingDay::TradingDay(TradingDayServices services, TradingDayView& view)
    : m_services(std::move(services)), m_view(view),
      m_settingsFile(m_services.configPath, m_services.defaultConfigPath), m_schedule(m_services.calendar)
{
    Q_ASSERT(m_services.clock && m_services.audio && m_services.launcher);
}

void TradingDay::start()
{
    SoftVer1 = u"%1.%2"_s.arg(TICKBELL_VERSION_MAJOR).arg(TICKBELL_VERSION_MINOR);
    openall = 0;
    setTitle(m_title + u"v"_s + SoftVer1 + u" - Orro SOFT"_s);
    playok = u"Tickbell.wav"_s;
    playsound();
    c2exit = 16;
    loadSettings();
}

void TradingDay::loadSettings()
{
    const SettingsFile::Loaded loaded = m_settingsFile.load();
    m_settings = loaded.settings;
    for (const QString& problem : loaded.problems)
        qCWarning(lcDay, "%s", qUtf8Printable(problem));
}

bool TradingDay::saveSettings(QString* error)
{
    QString why;
    if (m_settingsFile.save(m_settings, &why))
        return true;
    qCWarning(lcDay, "cannot save %s: %s", qUtf8Printable(m_settingsFile.configPath()), qUtf8Printable(why));
    if (error)
        *error = why;
    return false;
}

void TradingDay::tick()
{
    const TickResult result =
        m_schedule.tick(m_services.clock->now(), {playok, openall}, m_settings, autoExit);
    m_view.showClock(result.clockLine);
    using Kind = ScheduleEffect::Kind;
    for (const ScheduleEffect& effect : result.effects) {
        switch (effect.kind) {
        case Kind::SetStatus: setStatus(effect.text); break;
        case Kind::SetAdvice: setAdvice(effect.text); break;
        case Kind::AppendAdvice: setAdvice(m_advice + effect.text); break;
        case Kind::RequestPrompt:
            playok = effect.text;
            playsound();
            break;
        case Kind::MarkOpened: openall = 1; break;
        case Kind::ArmCountdown: m_view.armTimer(TradingDayView::Timer::Countdown); break;
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
}

void TradingDay::playsound()
{
    mirror(u"prompt"_s, voice ? playok : playok + u" (voice off)"_s);
    if (!voice)
        return;
    m_services.audio->play(promptFilePath(m_services.programFolder, playok));
    m_view.armTimer(TradingDayView::Timer::PromptClose);
}

void TradingDay::closePrompt()
{
    m_services.audio->close();
    m_view.stopTimer(TradingDayView::Timer::PromptClose);
}

void TradingDay::countdownTick()
{
    const CountdownStep step = ::countdownTick(autoExit, c2exit, SoftVer1);
    switch (step.action) {
    case CountdownStep::Action::ShowTitle: setTitle(step.title); break;
    case CountdownStep::Action::Exit: m_view.exitProgram(); break;
    case CountdownStep::Action::Cancel:
        setTitle(step.title);
        m_view.stopTimer(TradingDayView::Timer::Countdown);
        break;
    }
}

void TradingDay::runCommand(LaunchTarget target)
{
    m_view.armTimer(TradingDayView::Timer::CoolDown);
    launch(target);
}

void TradingDay::launch(LaunchTarget target)
{
    if (target == LaunchTarget::TradingProgram) {
        if (m_settings.mysoft.isEmpty())
            m_view.askForProgramPath();
        else
            m_services.launcher->openPath(m_settings.mysoft);
    } else if (LaunchTargets::isWebPage(target)) {
        m_services.launcher->openAddress(LaunchTargets::webAddress(target, SoftVer1));
    } else {
        m_services.launcher->openPath(LaunchTargets::toolPath(m_services.programFolder, target));
    }
}

QString TradingDay::calendarNotice()
{
    const QString notice = m_services.calendar.outdatedNotice(m_services.clock->now().date());
    if (notice.isEmpty())
        return {};
    qCWarning(lcDay, "the holidays file ends in %d; add the exchanges' closed days of the years after it",
              m_services.calendar.lastCoveredYear());
    mirror(u"notice"_s, notice);
    return notice;
}

void TradingDay::show(QString& shown, const QString& text, void (TradingDayView::*showIt)(const QString&),
                      const QString& what)
{
    if (shown == text)
        return;
    shown = text;
    (m_view.*showIt)(text);
    mirror(what, text);
}

void TradingDay::setStatus(const QString& text)
{
    show(m_status, text, &TradingDayView::showStatus, u"status"_s);
}

void TradingDay::setAdvice(const QString& text)
{
    show(m_advice, text, &TradingDayView::showAdvice, u"advice"_s);
}

void TradingDay::setTitle(const QString& text)
{
    show(m_title, text, &TradingDayView::showTitle, u"title"_s);
}

void TradingDay::mirror(const QString& what, const QString& text)
{
    if (m_services.mirror)
        m_services.mirror(what, text);
}
