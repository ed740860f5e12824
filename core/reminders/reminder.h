// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTime>

#include <optional>

// The trader's own reminders: one line of reminders.txt is "时间 日子 内容", separated by blanks.

// Which days a reminder rings on (its 日子).
struct ReminderDay {
    enum class Rule {
        EveryTradingDay,   // 每个交易日
        LastBeforeClosure, // 休市前最后一个交易日
        FirstAfterClosure, // 休市后第一个交易日
        FirstOfMonth,      // 每月第一个交易日
        LastOfMonth,       // 每月最后一个交易日
        Weekday,           // 周一 ... 周五, when it trades
        Date,              // YYYY-MM-DD, trading or not
    };
    Rule rule = Rule::EveryTradingDay;
    int weekday = 0; // Rule::Weekday: 1 Monday ... 5 Friday
    QDate date;      // Rule::Date

    bool operator==(const ReminderDay&) const = default;
};

// The 日子 as the file writes it; nullopt, with why (Chinese, for the trader) when it is none.
std::optional<ReminderDay> parseReminderDay(QStringView text, QString* why = nullptr);
QString reminderDayText(const ReminderDay& day);
// The named 日子, in the order the window offers them (without a date).
QList<ReminderDay> namedReminderDays();

// HH:MM or HH:MM:SS (the hour may have one digit); invalid otherwise.
QTime parseReminderTime(QStringView text);
// HH:MM, with :SS only when the seconds are not zero.
QString reminderTimeText(QTime time);

struct Reminder {
    static constexpr int kMaxTextLength = 100; // characters

    QTime time; // Beijing time
    ReminderDay day;
    QString text;
    bool on = true; // off: the line commented out with "#"

    bool operator==(const Reminder&) const = default;
};

// Why a reminder cannot be written as a line (Chinese, for the trader); empty when it can.
QString reminderProblem(const Reminder& reminder);
// The line for a reminder, "#" in front when it is off.
QString reminderLine(const Reminder& reminder);

// What one line of the file holds.
struct ReminderLine {
    enum class Kind { Blank, Comment, Reminder, Unreadable };
    Kind kind = Kind::Blank;
    ::Reminder reminder; // Kind::Reminder
    QString why;         // Kind::Unreadable: in Chinese, for the trader
};

// A line starting with "#" is a comment, or a reminder switched off when what follows the "#"
// reads as one; a line of blanks is blank.
ReminderLine parseReminderLine(QStringView line);
