// SPDX-License-Identifier: GPL-3.0-or-later
// reminders.txt as any bytes. Only what must hold whatever the file holds is checked:
// - read and written back unchanged, it is the same bytes;
// - each reminder read is written as a line that reads back as the same reminder;
// - switching one off and on again, or removing one, touches no other line;
// - the days of each reminder are asked around a closure without harm.

#include "core/calendar/trading_calendar.h"
#include "core/reminders/reminder_days.h"
#include "core/reminders/reminders_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& input)
{
    std::fprintf(stderr, "fuzz_reminders: %s\n  input (hex): %s\n", what, input.toHex().constData());
    std::abort();
}

void check(bool ok, const char* what, const QByteArray& input)
{
    if (!ok)
        fail(what, input);
}

// The file's bytes without the line of reminder index, which an edit may change.
QByteArray others(const RemindersFile& file, qsizetype index)
{
    QList<QByteArray> lines = file.toBytes().split('\n');
    lines.removeAt(file.lineNumber(index) - 1);
    return lines.join('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RemindersFile file = RemindersFile::fromBytes(input);
    check(file.toBytes() == input, "not written back byte for byte", input);

    static const TradingCalendar calendar;
    const TradingDays days(calendar);
    for (qsizetype i = 0; i < file.count(); ++i) {
        const Reminder& r = file.at(i);
        if (reminderProblem(r).isEmpty()) {
            const ReminderLine again = parseReminderLine(reminderLine(r));
            check(again.kind == ReminderLine::Kind::Reminder && again.reminder == r,
                  "a reminder's line reads back as another", input);
        }
        for (QDate d(2026, 9, 28); d <= QDate(2026, 10, 9); d = d.addDays(1))
            appliesOn(r.day, d, days);

        RemindersFile edited = file;
        const QByteArray rest = others(file, i);
        if (edited.setOn(i, !r.on)) {
            check(edited.at(i).on == !r.on && edited.count() == file.count(), "switching did not switch",
                  input);
            check(others(edited, i) == rest, "switching touched another line", input);
            check(edited.setOn(i, r.on) && edited.at(i).on == r.on, "switching back did not switch", input);
        }
        RemindersFile removed = file;
        check(removed.remove(i) && removed.count() == file.count() - 1, "removing did not remove", input);
        check(removed.unreadable().size() == file.unreadable().size(), "removing touched an unreadable line",
              input);
    }
    return 0;
}
