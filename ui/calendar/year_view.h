// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QWidget>

class TradingCalendar;

// A year of the trading calendar as twelve month grids: trading days plain, weekends grey, each
// closed weekday coloured by its reason, today framed, the selected day outlined and the days
// that differ from the saved calendar dotted; a legend below. With the focus, the arrows and
// Page Up/Down ask for another day and Space or Return acts on the selected one.
class YearView : public QWidget {
    Q_OBJECT
public:
    explicit YearView(QWidget* parent = nullptr);

    // edited is shown; saved tells which days are changed. Both must outlive the view's use.
    void setCalendars(const TradingCalendar* edited, const TradingCalendar* saved);
    void setYear(int year);
    int year() const { return m_year; }
    void setToday(QDate today);
    void setSelected(QDate day);
    QDate selected() const { return m_selected; }

    // Where a day of the shown year is drawn; the date drawn at a point (invalid between days).
    QRect cellRect(QDate day) const;
    QDate dateAt(QPoint point) const;

    QSize sizeHint() const override;

signals:
    void selectRequested(QDate day);
    void dayActivated(QDate day); // clicked, or Space or Return

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect monthRect(int month) const;

    const TradingCalendar* m_edited = nullptr;
    const TradingCalendar* m_saved = nullptr;
    int m_year = 2000;
    QDate m_today;
    QDate m_selected;
};

// "2027年2月8日 星期一：休市（法定节假日）"
QString describeDay(const TradingCalendar& calendar, QDate day);
