// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/reminders/reminders_file.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The trader's reminders for the run: reminders.txt beside config.txt, read at start and written
// only when he saves in 我的提醒, replaced whole as config.txt is.
class ReminderBook : public QObject {
    Q_OBJECT
public:
    static constexpr auto kFileName = "reminders.txt";
    // Larger files are no reminders file; such a file is neither read nor written.
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    // reminders.txt in the folder of configPath.
    static QString pathBeside(const QString& configPath);

    explicit ReminderBook(QString path, QObject* parent = nullptr);

    const QString& path() const { return m_path; }
    // Reads the file (again). No file is no reminders.
    void load();
    const RemindersFile& file() const { return m_file; }
    // Why the file could not be read whole (Chinese, for the trader); empty when it was read.
    const QString& readProblem() const { return m_readProblem; }

    // Writes edited in place of the file, whole, and holds it from now on. False, with why in
    // *error (Chinese), when the file keeps what it had, and the book with it: when it cannot be
    // written, or it was not read whole or was changed by another program since it was read
    // (saving would lose those lines).
    bool save(const RemindersFile& edited, QString* error = nullptr);

    // The notice line's words when the file has lines that cannot be read (or could not be read
    // itself); empty when all is well.
    QString notice() const;

signals:
    // The reminders were saved (or read again): their times may have moved.
    void changed();

private:
    QString m_path;
    RemindersFile m_file;
    QByteArray m_readBytes; // what the file held when read, or last saved
    bool m_existed = false;
    QString m_readProblem;
};
