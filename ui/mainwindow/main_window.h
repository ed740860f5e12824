// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/trading_day.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class ImageButton;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class CalendarWindow;
class RemindersWindow;
class ShowText1;
class WindowStacking;

// The main window: shows the trading day and forwards clicks, keys and menu choices to it.
// The controls, menu items and operations keep their design names, which the other windows
// and the tests use; the timers and the settings record are the day's, seen here by those names.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    Form1(TradingDay& day, WindowStacking& stacking, QWidget* parent = nullptr);
    ~Form1() override;

    TradingDay& day() { return m_day; }

private:
    TradingDay& m_day;
    WindowStacking& m_stacking;
    QMenu* m_editMenu = nullptr;

public:
    const QString& law1 = m_day.settings().law1;
    const QString& law2 = m_day.settings().law2;
    const QString& law3 = m_day.settings().law3;
    const QString& law4 = m_day.settings().law4;
    const qint16& qqnews = m_day.settings().qqnews;
    const qint16& flashweb = m_day.settings().flashweb;
    const qint16& ssoft = m_day.settings().ssoft;
    const QString& mysoft = m_day.settings().mysoft;
    const qint16& shutdown15 = m_day.settings().shutdown15;

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

    // 交易日历: opens the calendar window, or brings it forward.
    void openCalendar();
    // 我的提醒: opens the reminders window, or brings it forward.
    void openReminders();
    // Before the session ends: whether 交易日历 or 我的提醒 holds changes not saved yet, and the
    // question each one's close asks about them (保存, 不保存, 取消) over the window brought
    // forward; false when the trader chose 取消 or a save failed.
    bool hasUnsavedChanges() const;
    bool settleUnsavedChanges();

    // Brings the window back to the front, restoring it when minimised or hidden in the tray.
    void bringToFront();

    // The notice line under the controls, which never covers the day's reminder. It shows the
    // latest of its notices; × closes that one and the one before shows again.
    // The year's calendar notice, with its button to 交易日历; the countdown after the close
    // waits while it is there.
    void showCalendarNotice(const QString& notice);
    void closeCalendarNotice();
    // What reminders.txt could not be read, with its button to 我的提醒.
    void showRemindersFileNotice(const QString& notice);
    // The trader's reminder just told, until the day's next moment; empty: gone.
    void showReminderNotice(const QString& text);
    // Whether the user's close hides the window in the tray rather than minimising it (the
    // design's way). Turned off while the window is hidden, it comes back minimised.
    void setCloseToTray(bool on);
    // 编辑 (edit234), where the tray's switches (提醒方式) go.
    QMenu* editMenu() const { return m_editMenu; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildControls();
    void buildMenus();
    void showDay();
    ImageButton* picture(LaunchTarget target) const;
    void showDiscipline(const QString& body, const QString& title);
    enum class Notice { Calendar, RemindersFile, Reminder };
    void setNotice(Notice kind, const QString& text);
    void showLatestNotice();
    void showHelp(int which);
    void setLayer(QAction* item);
    void openSettings();
    void askForProgramPath();
    void showClock(const QString& text);

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
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    const SecondTimer* const Timer1 = &m_day.tickTimer();
    const QTimer& Timer2 = m_day.coolDownTimer();
    const QTimer& Timer3 = m_day.promptTimer();
    const QTimer& Timer4 = m_day.countdownTimer();

    QAction* exit234 = nullptr;
    QAction* systemset123 = nullptr;
    QAction* malert = nullptr;
    QAction* autoexit = nullptr;
    QAction* standardTime = nullptr; // 按标准时间提醒, after the design's 编辑 items
    QAction* dgsdfssf = nullptr;
    QAction* fhdfsfs = nullptr;
    QAction* dsfadsf = nullptr;
    QAction* sdfasr = nullptr;
    QAction* qshutdown = nullptr;
    QAction* tradingCalendar = nullptr; // 交易日历, after the design's Tools items
    QAction* myReminders = nullptr;     // 我的提醒, the last of Tools
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

private:
    QPointer<ShowText1> m_viewer;
    QPointer<QStatusBar> m_notice;
    QString m_clockShape; // the clock line as last measured for its place
    QChar m_widestDigit;
    QList<std::pair<Notice, QString>> m_notices; // the latest last
    QPointer<CalendarWindow> m_calendar;
    QPointer<RemindersWindow> m_reminders;
    bool m_shown = false;
    bool m_closeToTray = false;
    bool m_hiddenInTray = false;
};
