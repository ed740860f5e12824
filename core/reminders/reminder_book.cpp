// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminder_book.h"

#include "core/settings/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcReminders, "tickbell.reminders")

namespace {

struct Read {
    bool exists = false;
    QByteArray bytes;
    QString problem; // English, from TextFile::read
};

Read readFile(const QString& path)
{
    Read read;
    read.exists = QFileInfo::exists(path);
    if (!read.exists)
        return read;
    if (!TextFile::read(path, ReminderBook::kMaxBytes, &read.bytes, &read.problem))
        read.bytes.clear();
    return read;
}

} // namespace

QString ReminderBook::pathBeside(const QString& configPath)
{
    return QFileInfo(configPath).absoluteDir().filePath(QLatin1String(kFileName));
}

ReminderBook::ReminderBook(QString path, QObject* parent) : QObject(parent), m_path(std::move(path)) {}

void ReminderBook::load()
{
    const Read read = readFile(m_path);
    m_existed = read.exists;
    m_readBytes = read.bytes;
    // A file read in part is no list to tell from, nor to save back.
    m_file = read.problem.isEmpty() ? RemindersFile::fromBytes(read.bytes) : RemindersFile();
    m_readProblem.clear();
    if (!read.problem.isEmpty()) {
        qCWarning(lcReminders, "%s: %s", qUtf8Printable(m_path), qUtf8Printable(read.problem));
        m_readProblem = u"%1 没能读全（%2）"_s.arg(QDir::toNativeSeparators(m_path), read.problem);
    }
    for (const RemindersFile::Unreadable& line : m_file.unreadable())
        qCWarning(lcReminders, "%s: line %d skipped: %s", qUtf8Printable(m_path), line.line,
                  qUtf8Printable(line.why));
    emit changed();
}

bool ReminderBook::save(const RemindersFile& edited, QString* error)
{
    const auto fail = [&](const QString& why) {
        qCWarning(lcReminders, "cannot save %s: %s", qUtf8Printable(m_path), qUtf8Printable(why));
        if (error)
            *error = why;
        return false;
    };
    if (!m_readProblem.isEmpty())
        return fail(m_readProblem + u"，保存会丢掉没读到的内容"_s);
    const Read now = readFile(m_path);
    if (now.exists != m_existed || now.bytes != m_readBytes || !now.problem.isEmpty())
        return fail(u"文件在读取以后被别的程序改过了，保存会丢掉那些改动。请关闭“我的提醒”再打开"_s);
    const QByteArray bytes = edited.toBytes();
    QString why;
    if (!TextFile::save(m_path, bytes, &why))
        return fail(why);
    m_file = edited;
    m_readBytes = bytes;
    m_existed = true;
    emit changed();
    return true;
}

QString ReminderBook::notice() const
{
    if (!m_readProblem.isEmpty())
        return u"我的提醒：%1，这次没有提醒。"_s.arg(m_readProblem);
    QStringList lines;
    for (const RemindersFile::Unreadable& line : m_file.unreadable())
        lines << QString::number(line.line);
    if (lines.isEmpty())
        return {};
    return u"我的提醒：%1 第%2行读不懂，读不懂的行不会提醒。请在“工具”菜单的“我的提醒”里查看。"_s.arg(
        QString::fromLatin1(kFileName), lines.join(u'、'));
}
