// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"
#include "core/time/agreement.h"
#include "core/time/exchange_clock.h"
#include "tools/ui/tool_window.h"

#include <QTimer>

class ProgramOptions;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class TimeSync;
class TradingCalendar;

// 时间校正: how far this computer's clock is off, by what the time servers in the list
// (remembered) agree on, with each server's figure; Beijing time corrected and by the computer's
// clock, wherever the computer is; the next key moment of the trader's trading calendar; the
// system's own correction on request, and Tickbell's 按标准时间提醒.
class ClockWindow : public ToolWindow {
    Q_OBJECT
public:
    // settings: tools.ini, for the list; options: tickbell.ini, for the switch.
    ClockWindow(TimeSync& sync, NetworkTime& network, const Clock& computer, const TradingCalendar& calendar,
                QSettings& settings, ProgramOptions& options, QWidget* parent = nullptr);

public slots:
    void query();

signals:
    void queryFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QStringList serverLines() const;
    void saveServers();
    void showResult(const QList<ServerAnswer>& answers);
    void showClock();
    void synchronise();
    void askSystem();
    void followOptions();

    TimeSync& m_sync;
    NetworkTime& m_network;
    ExchangeClock m_clock;
    const TradingCalendar& m_calendar;
    QSettings& m_settings;
    ProgramOptions& m_options;
    QLabel* m_offset;
    QLabel* m_servers;
    QLabel* m_corrected;
    QLabel* m_computer;
    QLabel* m_next;
    QLabel* m_status;
    QPushButton* m_again;
    QPushButton* m_correct;
    QCheckBox* m_standard;
    QPlainTextEdit* m_list;
    QTimer m_tick;
    bool m_asking = false;
    Agreement m_agreement; // of the latest answers
};
