// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QWidget>

class TradingCalendar;

// A year of the trading calendar as twelve month grids: trading days plain, weekends grey, each
// closed weekday coloured by its reason, today framed, the selected day outlined and the days
// that differ from the saved calendar dotted. With the focus, the arrows and Page Up/Down ask for
// another day and Space or Return acts on the selected one. Accessibility clients get the days as
// a list, each named as the eye reads it (dayText).
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
    // After the calendars changed: redraws, and tells accessibility clients of the selected day.
    void daysChanged();

    // Where a day of the shown year is drawn; the date drawn at a point (invalid between days).
    QRect cellRect(QDate day) const;
    QDate dateAt(QPoint point) const;
    // "2027年10月8日 星期五：休市（自行设定），未保存的修改": the day, and its frame and dot.
    QString dayText(QDate day) const;

    QSize sizeHint() const override;

signals:
    void selectRequested(QDate day);
    void dayActivated(QDate day); // clicked, or Space or Return

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QRect monthRect(int month) const;
    bool changed(QDate day) const;
    void tellSelected(int eventType) const;

    const TradingCalendar* m_edited = nullptr;
    const TradingCalendar* m_saved = nullptr;
    int m_year = 2000;
    QDate m_today;
    QDate m_selected;
};

// What the grid's colours, frame and dot mean, as text beside each swatch.
class YearLegend : public QWidget {
    Q_OBJECT
public:
    explicit YearLegend(QWidget* parent = nullptr);
};

// "2027年2月8日 星期一：休市（法定节假日）"
QString describeDay(const TradingCalendar& calendar, QDate day);
