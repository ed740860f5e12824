// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/reminders/reminder.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The lines of reminders.txt (UTF-8), each kept as the bytes it was read with: a line the trader
// did not change is written back byte for byte, its line ending included. Comments, blank lines
// and lines that cannot be read stay where they are.
class RemindersFile {
public:
    static RemindersFile fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    // The reminders in the file's order, those switched off included.
    qsizetype count() const { return m_reminderLines.size(); }
    const Reminder& at(qsizetype index) const { return m_lines[m_reminderLines[index]].parsed.reminder; }
    int lineNumber(qsizetype index) const { return int(m_reminderLines[index]) + 1; }
    QList<Reminder> reminders() const;

    struct Unreadable {
        int line; // from 1
        QString text;
        QString why; // Chinese, for the trader
    };
    QList<Unreadable> unreadable() const;

    // The edits: false, and nothing changed, for a reminder that cannot be written
    // (reminderProblem) or an index out of range.
    bool add(const Reminder& reminder); // a new line at the end
    // The line is written anew, unless the reminder is the same.
    bool replace(qsizetype index, const Reminder& reminder);
    bool remove(qsizetype index);
    // "#" put in front of the line, or taken away with the blanks after it; the rest of the line
    // stays as it was.
    bool setOn(qsizetype index, bool on);

    bool operator==(const RemindersFile& other) const { return toBytes() == other.toBytes(); }

private:
    struct Line {
        QByteArray bytes; // without the line ending
        QByteArray end;   // "\n", "\r\n", or nothing on a last line without one
        ReminderLine parsed;
    };
    static Line readLine(QByteArray bytes, QByteArray end);
    void setBytes(qsizetype line, const QByteArray& bytes);
    void indexReminders();

    QByteArray m_bom;
    QList<Line> m_lines;
    QList<qsizetype> m_reminderLines;
    QByteArray m_newline = "\n"; // the file's own, for new lines
};
