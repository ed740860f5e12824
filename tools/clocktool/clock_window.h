// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "nettime/sntp_client.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class TimeSync;
class TradingCalendar;

// 时间校正: how far this computer's clock is off, by the network time servers in the list
// (remembered), to the millisecond with the round trip and the server; what the corrected clock
// says of the next key moment of the trading day; and the system's own correction on request.
class ClockWindow : public QWidget {
    Q_OBJECT
public:
    ClockWindow(TimeSync& sync, const TradingCalendar& calendar, QSettings& settings,
                QWidget* parent = nullptr);

    static QStringList defaultServers();
    // How long the servers are given, all together.
    static constexpr int kTimeLimitMs = 3000;

public slots:
    void query();

signals:
    void queryFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QList<SntpServer> servers(QStringList* problems) const;
    void saveServers();
    void showResult(const SntpResult& result);
    void showClock();
    void synchronise();

    TimeSync& m_sync;
    const TradingCalendar& m_calendar;
    QSettings& m_settings;
    QLabel* m_offset;
    QLabel* m_detail;
    QLabel* m_corrected;
    QLabel* m_next;
    QLabel* m_status;
    QPushButton* m_again;
    QPushButton* m_correct;
    QPlainTextEdit* m_list;
    QTimer m_clock;
    QPointer<SntpQuery> m_query;
    std::optional<qint64> m_offsetUs;
};
