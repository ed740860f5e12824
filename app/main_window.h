// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reminder/session_schedule.h"
#include "reminder/trading_calendar.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>

class AudioOutput;
class Clock;
class ImageButton;
class Launcher;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class SecondTimer;
class ShowText1;
class WindowStacking;
enum class LaunchTarget;

// What the main window needs from outside; tests pass fakes.
struct Form1Services {
    const Clock* clock = nullptr;
    AudioOutput* audio = nullptr;
    Launcher* launcher = nullptr;
    WindowStacking* stacking = nullptr;
    QString programFolder;     // sound/ and plug/ live here
    QString configPath;        // config.txt
    QString defaultConfigPath; // plug/config.txt
    TradingCalendar calendar;
    std::function<void()> exitProgram;        // ends the program at once
    std::function<void(const QString&)> tell; // a line for the user on standard error
    // Every change of title, status and advice, and every prompt requested (--console).
    std::function<void(const QString& what, const QString& text)> mirror;
};

// The main window. Owns every piece of shared state for the whole run; the public members
// and operations keep their design names because the other windows and the tests use them.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

private:
    Settings m_settings; // backs the settings members below
public:
    QString& law1 = m_settings.law1;
    QString& law2 = m_settings.law2;
    QString& law3 = m_settings.law3;
    QString& law4 = m_settings.law4;
    QString playok;
    qint16& qqnews = m_settings.qqnews;
    qint16& flashweb = m_settings.flashweb;
    qint16& ssoft = m_settings.ssoft;
    QString& mysoft = m_settings.mysoft;
    QString SoftVer1;
    qint16 openall = 0;
    qint16& shutdown15 = m_settings.shutdown15;
    qint16 c2exit = 16;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void dgsdfssf_Click();
    void dsfadsf_Click();
    void qshutdown_Click();
    void playsound();

    void LoadSettings();
    // Writes the record to config.txt; false, with the reason in *error, when it could not.
    bool SaveSettings(QString* error = nullptr);
    Settings& settingsRecord() { return m_settings; }
    const SettingsFile& settingsFile() const { return m_settingsFile; }

    // The timer handlers, public so that tests can run a tick without waiting for it.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    // The key table, by Windows virtual-key code.
    void Form_KeyDown(int KeyCode);
    bool KeyPreview = false;

    // Makes sure the viewer exists; it is destroyed again when it closes.
    ShowText1& viewer();

    // Brings the window back to the front, restoring it when minimised.
    void bringToFront();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void warnIfCalendarOutdated();
    void buildControls();
    void buildMenus();
    void setLabel(QLabel* label, const QString& text);
    void setCaption(const QString& title);
    void applyEffect(const ScheduleEffect& effect);
    void pictureClick(ImageButton* picture, LaunchTarget target);
    void launch(LaunchTarget target);
    void openTradingProgram();
    void showDiscipline(const QString& body, const QString& title);
    void showHelp(int which);
    void setLayer(QAction* item);
    void openSettings();
    void mirror(const QString& what, const QString& text);

    Form1Services m_services;
    SettingsFile m_settingsFile;
    SessionSchedule m_schedule;

public:
    // Controls, by their design names.
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    ImageButton* Picture1 = nullptr;
    ImageButton* Picture2 = nullptr;
    ImageButton* Picture3 = nullptr;
    ImageButton* Picture4 = nullptr;
    ImageButton* Picture5 = nullptr;
    ImageButton* Picture6 = nullptr;
    ImageButton* Picture7 = nullptr;
    ImageButton* Picture8 = nullptr;
    QPushButton* Command[9] = {}; // Command1 .. Command8 at their numbers
    SecondTimer* Timer1 = nullptr;
    QTimer Timer2;
    QTimer Timer3;
    QTimer Timer4;

    QAction* exit234 = nullptr;
    QAction* systemset123 = nullptr;
    QAction* malert = nullptr;
    QAction* autoexit = nullptr;
    QAction* dgsdfssf = nullptr;
    QAction* fhdfsfs = nullptr;
    QAction* dsfadsf = nullptr;
    QAction* sdfasr = nullptr;
    QAction* qshutdown = nullptr;
    QAction* normal123 = nullptr;
    QAction* top123 = nullptr;
    QAction* low123 = nullptr;
    QAction* min123 = nullptr;
    QAction* readme123 = nullptr;
    QAction* disigner123 = nullptr;
    QAction* forsoft123 = nullptr;
    QAction* gffdte = nullptr;
    QAction* softup = nullptr;
    QAction* sfasdaass = nullptr;

    // The first tick waits at least this long after the window shows.
    static constexpr int kFirstTickDelayMs = 800;

private:
    QPointer<ShowText1> m_viewer;
    bool m_shown = false;
    bool m_ticked = false;
};
