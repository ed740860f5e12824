// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

class QFileSystemWatcher;

// The program's own switches that config.txt does not hold: older versions read config.txt byte
// for byte, so these live in tickbell.ini beside it (and beside the tools' tools.ini). Each is
// written the moment it changes.
class ProgramOptions : public QObject {
    Q_OBJECT
public:
    // folder: where config.txt lives.
    explicit ProgramOptions(const QString& folder, QObject* parent = nullptr);

    static constexpr auto kFileName = "tickbell.ini";
    // 按标准时间提醒, shared by the program and the clock tool.
    static constexpr auto kStandardTime = "reminders/standardTime";
    QString path() const { return m_settings->fileName(); }

    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    // A switch: `true` or `false` and nothing else. Anything else (a garbled or hand-edited
    // file) is the fallback, with a warning line, so a stray word never turns on what sends.
    bool flag(const QString& key, bool fallback) const;
    bool contains(const QString& key) const { return m_settings->contains(key); }
    // False, with why in *error (Chinese, for the user), when the file could not be written; the
    // value then holds for this run only.
    bool setValue(const QString& key, const QVariant& value, QString* error = nullptr);

    // From now on, changedOnDisk tells when another program (the clock tool) changed the file;
    // the values are read afresh before it.
    void watch();

signals:
    void changedOnDisk();

private:
    void reread();

    std::unique_ptr<QSettings> m_settings;
    QFileSystemWatcher* m_watcher = nullptr;
    mutable QSet<QString> m_warned; // one warning per key and value, not one per read
};
