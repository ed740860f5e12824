// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/reminders/reminders_file.h"

#include <QWidget>

#include <optional>

class Clock;
class ReminderBook;
class TradingCalendar;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TradingDays;

// 我的提醒: the trader's own reminders with the next time each rings, and the lines of
// reminders.txt that cannot be read. He adds, changes, deletes and switches them off on a copy
// of the file, sees the next five days of the one he edits, and 保存 hands the copy to the book,
// which writes the file.
class RemindersWindow : public QWidget {
    Q_OBJECT
public:
    // clock: the exchange clock, for "next".
    RemindersWindow(ReminderBook& book, const TradingCalendar& calendar, const Clock& clock,
                    QWidget* parent = nullptr);

    // The copy being edited.
    const RemindersFile& edited() const { return m_edited; }
    bool hasChanges() const;
    // The reminder the fields describe; nullopt, with why on the preview line, when they
    // describe none.
    std::optional<Reminder> fieldsReminder() const;
    void addFromFields();
    void changeSelected();
    void deleteSelected();
    void addSuggestion(int which);
    bool saveChanges();

    // The two suggestions, one click away.
    static QList<Reminder> suggestions();

    QTreeWidget* list = nullptr;
    QLabel* unreadable = nullptr;
    QLineEdit* timeEdit = nullptr;
    QComboBox* dayChoice = nullptr;
    QDateEdit* dateEdit = nullptr;
    QLineEdit* textEdit = nullptr;
    QLabel* preview = nullptr;
    QLabel* status = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* changeButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QList<QPushButton*> suggestionButtons;
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void refresh(int select = -1);
    void showItem(QTreeWidgetItem* item, const Reminder& reminder, const TradingDays& days);
    void showSelected();
    void updatePreview();
    int selected() const;
    QDateTime now() const;

    ReminderBook& m_book;
    const TradingCalendar& m_calendar;
    const Clock& m_clock;
    RemindersFile m_edited;
    bool m_filling = false; // the list or the fields are being filled, not edited
};
