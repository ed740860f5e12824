// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/program_options.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

using namespace Qt::StringLiterals;

ProgramOptions::ProgramOptions(const QString& folder, QObject* parent)
    : QObject(parent), m_settings(folder + u'/' + QLatin1String(kFileName), QSettings::IniFormat)
{
}

QVariant ProgramOptions::value(const QString& key, const QVariant& fallback) const
{
    return m_settings.value(key, fallback);
}

bool ProgramOptions::setValue(const QString& key, const QVariant& value, QString* error)
{
    m_settings.setValue(key, value);
    m_settings.sync();
    if (m_settings.status() == QSettings::NoError)
        return true;
    if (error)
        *error = u"无法保存到 %1"_s.arg(QDir::toNativeSeparators(m_settings.fileName()));
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
    m_settings.sync(); // takes up what another program wrote
    emit changedOnDisk();
}
