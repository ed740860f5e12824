// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reminder/trading_day.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>

class ImageButton;
class QAction;
class QLabel;
class QPushButton;
class SecondTimer;
class ShowText1;
class WindowStacking;

// What the main window needs from outside; tests pass fakes.
struct Form1Services {
    TradingDayServices day;
    WindowStacking* stacking = nullptr;
    std::function<void()> exitProgram; // ends the program at once
};

// The main window: shows the trading day and forwards clicks, keys and timer ticks to it.
// The controls, menu items and operations keep their design names, which the other windows
// and the tests use.
class Form1 : public QMainWindow, private TradingDayView {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    TradingDay& day() { return m_day; }

private:
    WindowStacking* m_stacking;
    std::function<void()> m_exitProgram;
    TradingDay m_day; // before the references into its settings record below

public:
    QString& law1 = m_day.settings().law1;
    QString& law2 = m_day.settings().law2;
    QString& law3 = m_day.settings().law3;
    QString& law4 = m_day.settings().law4;
    qint16& qqnews = m_day.settings().qqnews;
    qint16& flashweb = m_day.settings().flashweb;
    qint16& ssoft = m_day.settings().ssoft;
    QString& mysoft = m_day.settings().mysoft;
    qint16& shutdown15 = m_day.settings().shutdown15;

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
    Settings& settingsRecord() { return m_day.settings(); }
    const SettingsFile& settingsFile() const { return m_day.settingsFile(); }

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
    void pictureClick(ImageButton* picture, LaunchTarget target);
    void showDiscipline(const QString& body, const QString& title);
    void showHelp(int which);
    void setLayer(QAction* item);
    void openSettings();
    QTimer* timer(Timer which);

    // What the trading day tells the window.
    void showStatus(const QString& text) override;
    void showClock(const QString& text) override;
    void showAdvice(const QString& text) override;
    void showTitle(const QString& text) override;
    void armTimer(Timer which) override;
    void stopTimer(Timer which) override;
    void askForProgramPath() override;
    void exitProgram() override;

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
