// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/program_options.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLoggingCategory>

#include <optional>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcOptions, "tickbell.settings.options")

ProgramOptions::ProgramOptions(const QString& folder, QObject* parent)
    : QObject(parent),
      m_settings(std::make_unique<QSettings>(folder + u'/' + QLatin1String(kFileName), QSettings::IniFormat))
{
    if (m_settings->status() == QSettings::FormatError)
        qCWarning(lcOptions, "%s is garbled: a switch that cannot be read keeps its default",
                  qUtf8Printable(QDir::toNativeSeparators(path())));
}

QVariant ProgramOptions::value(const QString& key, const QVariant& fallback) const
{
    return m_settings->value(key, fallback);
}

namespace {

std::optional<bool> parseFlag(const QVariant& stored)
{
    // QSettings hands back a string for what it read and a bool for what was set this run.
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = stored.toString().trimmed();
    if (text.compare(u"true"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false"_s, Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace

bool ProgramOptions::flag(const QString& key, bool fallback) const
{
    const QVariant stored = m_settings->value(key);
    if (!stored.isValid())
        return fallback;
    if (const std::optional<bool> on = parseFlag(stored))
        return *on;
    // An unquoted comma makes QSettings read a list.
    const QString shown = stored.toStringList().join(u',');
    if (!m_warned.contains(key + u'=' + shown)) {
        m_warned.insert(key + u'=' + shown);
        qCWarning(lcOptions, "%s: %s=%s is neither true nor false; taken as %s",
                  qUtf8Printable(QDir::toNativeSeparators(path())), qUtf8Printable(key),
                  qUtf8Printable(shown), fallback ? "true" : "false");
    }
    return fallback;
}

bool ProgramOptions::setValue(const QString& key, const QVariant& value, QString* error)
{
    m_settings->setValue(key, value);
    m_settings->sync();
    // QSettings keeps a garbled file's load error for good, though the sync rewrote the file
    // well-formed: a fresh read says whether it did.
    if (m_settings->status() == QSettings::FormatError) {
        m_settings = std::make_unique<QSettings>(path(), QSettings::IniFormat);
        if (m_settings->status() != QSettings::NoError)
            m_settings->setValue(key, value);
    }
    if (m_settings->status() == QSettings::NoError)
        return true;
    if (error)
        *error = u"无法保存到 %1"_s.arg(QDir::toNativeSeparators(path()));
    return false;
}

void ProgramOptions::watch()
{
    if (m_watcher)
        return;
    // The folder too: a save replaces the file whole, and the file may not be there yet.
    m_watcher = new QFileSystemWatcher(this);
    m_watcher->addPath(QFileInfo(path()).absolutePath());
    if (QFileInfo::exists(path()))
        m_watcher->addPath(path());
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProgramOptions::reread);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &ProgramOptions::reread);
}

void ProgramOptions::reread()
{
    if (QFileInfo::exists(path()) && !m_watcher->files().contains(path()))
        m_watcher->addPath(path());
    m_settings->sync(); // takes up what another program wrote
    emit changedOnDisk();
}
