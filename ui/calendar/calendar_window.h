// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"

#include <QWidget>
#include <functional>

class CalendarKeeper;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class YearLegend;
class YearView;

// 交易日历: the trading calendar a year at a time, why each closed day is closed, and where the
// year's days come from. The trader completes a year here on a copy of the calendar: a click
// opens or closes a weekday, a pasted announcement closes the days it names; 保存 hands the copy
// back to the keeper, which writes the holidays file and runs on it.
class CalendarWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalendarWindow(CalendarKeeper& keeper, QWidget* parent = nullptr);

    // The years it shows: the first of the built-in list to ten years after today.
    static constexpr int kFirstYear = 2009;
    int lastYear() const;

    void showYear(int year);
    int year() const;
    // A weekday closed becomes open and an open one closed; weekends stay closed.
    void toggleDay(QDate day);
    // The closed days of the pasted announcement, into the copy (not yet saved).
    void readAnnouncement();
    bool saveChanges();
    bool hasChanges() const;

    // The year of an announcement that names none; 0 when the trader cancels. Tests put their
    // own answer here.
    std::function<int(QWidget* parent, int suggested)> askYear;

    YearView* grid = nullptr;
    YearLegend* legend = nullptr;
    QLabel* yearLabel = nullptr;
    QLabel* yearSource = nullptr;
    QLabel* dayInfo = nullptr;
    QLabel* status = nullptr;
    QPlainTextEdit* announcement = nullptr;
    QPushButton* previousYear = nullptr;
    QPushButton* nextYear = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void select(QDate day);
    void refresh();

    CalendarKeeper& m_keeper;
    TradingCalendar m_edited;
    QDate m_today;
};
