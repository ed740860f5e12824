// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminders_file.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

} // namespace

RemindersFile::Line RemindersFile::readLine(QByteArray bytes, QByteArray end)
{
    Line line{std::move(bytes), std::move(end), {}};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(line.bytes);
    if (utf8.hasError())
        line.parsed = {ReminderLine::Kind::Unreadable, {}, u"不是 UTF-8 文字（请把文件存成 UTF-8）"_s};
    else
        line.parsed = parseReminderLine(text);
    return line;
}

RemindersFile RemindersFile::fromBytes(const QByteArray& bytes)
{
    RemindersFile file;
    QByteArray rest = bytes;
    if (rest.startsWith(kBom)) {
        file.m_bom = kBom;
        rest.remove(0, kBom.size());
    }
    bool newlineFound = false;
    qsizetype from = 0;
    while (from < rest.size()) {
        const qsizetype lf = rest.indexOf('\n', from);
        qsizetype contentEnd = lf < 0 ? rest.size() : lf;
        const qsizetype next = lf < 0 ? rest.size() : lf + 1;
        if (lf >= 0 && contentEnd > from && rest[contentEnd - 1] == '\r')
            --contentEnd;
        QByteArray end = rest.mid(contentEnd, next - contentEnd);
        if (!newlineFound && !end.isEmpty()) {
            file.m_newline = end;
            newlineFound = true;
        }
        file.m_lines.append(readLine(rest.mid(from, contentEnd - from), std::move(end)));
        from = next;
    }
    file.indexReminders();
    return file;
}

QByteArray RemindersFile::toBytes() const
{
    QByteArray bytes = m_bom;
    for (const Line& line : m_lines)
        bytes += line.bytes + line.end;
    return bytes;
}

QList<Reminder> RemindersFile::reminders() const
{
    QList<Reminder> all;
    for (qsizetype i = 0; i < count(); ++i)
        all << at(i);
    return all;
}

QList<RemindersFile::Unreadable> RemindersFile::unreadable() const
{
    QList<Unreadable> found;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.parsed.kind == ReminderLine::Kind::Unreadable)
            found.append({int(i) + 1, QString::fromUtf8(line.bytes), line.parsed.why});
    }
    return found;
}

bool RemindersFile::add(const Reminder& reminder)
{
    if (!reminderProblem(reminder).isEmpty())
        return false;
    // A last line without its ending gets one first.
    if (!m_lines.isEmpty() && m_lines.last().end.isEmpty())
        m_lines.last().end = m_newline;
    m_lines.append(readLine(reminderLine(reminder).toUtf8(), m_newline));
    indexReminders();
    return true;
}

bool RemindersFile::replace(qsizetype index, const Reminder& reminder)
{
    if (index < 0 || index >= count() || !reminderProblem(reminder).isEmpty())
        return false;
    if (at(index) != reminder)
        setBytes(m_reminderLines[index], reminderLine(reminder).toUtf8());
    return true;
}

bool RemindersFile::remove(qsizetype index)
{
    if (index < 0 || index >= count())
        return false;
    m_lines.removeAt(m_reminderLines[index]);
    indexReminders();
    return true;
}

bool RemindersFile::setOn(qsizetype index, bool on)
{
    if (index < 0 || index >= count())
        return false;
    if (at(index).on == on)
        return true;
    const qsizetype line = m_reminderLines[index];
    QString text = QString::fromUtf8(m_lines[line].bytes);
    if (on) {
        // What is left of the "#" reads as the reminder: parseReminderLine said so.
        const qsizetype hash = text.indexOf(u'#');
        qsizetype from = hash + 1;
        while (from < text.size() && (text[from] == u' ' || text[from] == u'\t' || text[from] == u'\u3000'))
            ++from;
        text = text.mid(from);
    } else {
        text.prepend(u'#');
    }
    setBytes(line, text.toUtf8());
    return true;
}

void RemindersFile::setBytes(qsizetype line, const QByteArray& bytes)
{
    m_lines[line] = readLine(bytes, m_lines[line].end);
    indexReminders();
}

void RemindersFile::indexReminders()
{
    m_reminderLines.clear();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].parsed.kind == ReminderLine::Kind::Reminder)
            m_reminderLines << i;
    }
}
