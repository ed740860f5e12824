// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminder.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

struct NamedDay {
    QStringView name;
    ReminderDay day;
};

const NamedDay kNamedDays[] = {
    {u"每个交易日", {ReminderDay::Rule::EveryTradingDay, 0, {}}},
    {u"休市前最后一个交易日", {ReminderDay::Rule::LastBeforeClosure, 0, {}}},
    {u"休市后第一个交易日", {ReminderDay::Rule::FirstAfterClosure, 0, {}}},
    {u"每月第一个交易日", {ReminderDay::Rule::FirstOfMonth, 0, {}}},
    {u"每月最后一个交易日", {ReminderDay::Rule::LastOfMonth, 0, {}}},
    {u"周一", {ReminderDay::Rule::Weekday, 1, {}}},
    {u"周二", {ReminderDay::Rule::Weekday, 2, {}}},
    {u"周三", {ReminderDay::Rule::Weekday, 3, {}}},
    {u"周四", {ReminderDay::Rule::Weekday, 4, {}}},
    {u"周五", {ReminderDay::Rule::Weekday, 5, {}}},
};

// Blanks between the fields: spaces, tabs, and the full-width space a Chinese input method types.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\r';
}

QStringView trimmed(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// The first field of text (already trimmed) and the rest after the blanks that end it.
std::pair<QStringView, QStringView> firstField(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    return {text.left(end), trimmed(text.mid(end))};
}

qsizetype characters(const QString& text)
{
    return text.toUcs4().size();
}

} // namespace

std::optional<ReminderDay> parseReminderDay(QStringView text, QString* why)
{
    for (const NamedDay& named : kNamedDays) {
        if (text == named.name)
            return named.day;
    }
    static const QRegularExpression dateLike(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"_s);
    const QString given = text.toString();
    if (const auto m = dateLike.match(given); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (date.isValid())
            return ReminderDay{ReminderDay::Rule::Date, 0, date};
        if (why)
            *why = u"日期“%1”不存在（日期写成 2027-01-05 这样）"_s.arg(given);
        return std::nullopt;
    }
    if (why) {
        *why = text == u"周六" || text == u"周日" || text == u"周天"
                   ? u"“%1”不开市：日子可以是周一到周五"_s.arg(given)
                   : u"不认识的日子“%1”"_s.arg(given);
    }
    return std::nullopt;
}

QString reminderDayText(const ReminderDay& day)
{
    if (day.rule == ReminderDay::Rule::Date)
        return day.date.toString(u"yyyy-MM-dd"_s);
    for (const NamedDay& named : kNamedDays) {
        if (named.day == day)
            return named.name.toString();
    }
    return {};
}

QList<ReminderDay> namedReminderDays()
{
    QList<ReminderDay> days;
    for (const NamedDay& named : kNamedDays)
        days << named.day;
    return days;
}

QTime parseReminderTime(QStringView text)
{
    static const QRegularExpression form(u"^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"_s);
    const auto m = form.match(text.toString());
    if (!m.hasMatch())
        return {};
    return QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QString reminderTimeText(QTime time)
{
    return time.toString(time.second() != 0 ? u"HH:mm:ss"_s : u"HH:mm"_s);
}

QString reminderProblem(const Reminder& reminder)
{
    if (!reminder.time.isValid())
        return u"时间不对（写成 14:50 或 14:50:30 这样）"_s;
    if (reminderDayText(reminder.day).isEmpty())
        return u"日子不对"_s;
    const QString text = reminder.text;
    if (trimmed(text).isEmpty())
        return u"没有提醒内容"_s;
    if (text.contains(u'\n') || text.contains(u'\r'))
        return u"提醒内容只能是一行"_s;
    if (trimmed(text).size() != text.size())
        return u"提醒内容的前后不能有空格"_s;
    if (characters(text) > Reminder::kMaxTextLength)
        return u"提醒内容超过%1个字"_s.arg(Reminder::kMaxTextLength);
    return {};
}

QString reminderLine(const Reminder& reminder)
{
    return (reminder.on ? QString() : u"#"_s) + reminderTimeText(reminder.time) + u' ' +
           reminderDayText(reminder.day) + u' ' + reminder.text;
}

ReminderLine parseReminderLine(QStringView line)
{
    QStringView rest = trimmed(line);
    if (rest.isEmpty())
        return {};
    if (rest.startsWith(u'#')) {
        // A comment, unless it is a reminder switched off.
        ReminderLine parsed = parseReminderLine(rest.mid(1));
        if (parsed.kind != ReminderLine::Kind::Reminder || !parsed.reminder.on)
            return {ReminderLine::Kind::Comment, {}, {}};
        parsed.reminder.on = false;
        return parsed;
    }
    const auto unreadable = [](const QString& why) {
        return ReminderLine{ReminderLine::Kind::Unreadable, {}, why};
    };
    const auto [timeField, afterTime] = firstField(rest);
    Reminder reminder;
    reminder.time = parseReminderTime(timeField);
    if (!reminder.time.isValid())
        return unreadable(u"时间“%1”不对（写成 14:50 或 14:50:30 这样）"_s.arg(timeField));
    const auto [dayField, text] = firstField(afterTime);
    if (dayField.isEmpty())
        return unreadable(u"时间后面没有日子和提醒内容"_s);
    QString why;
    const std::optional<ReminderDay> day = parseReminderDay(dayField, &why);
    if (!day)
        return unreadable(why);
    reminder.day = *day;
    reminder.text = text.toString();
    if (reminder.text.isEmpty())
        return unreadable(u"没有提醒内容"_s);
    if (characters(reminder.text) > Reminder::kMaxTextLength)
        return unreadable(u"提醒内容超过%1个字"_s.arg(Reminder::kMaxTextLength));
    return {ReminderLine::Kind::Reminder, reminder, {}};
}
