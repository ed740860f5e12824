// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/program_options.h"

#include <QDir>

using namespace Qt::StringLiterals;

ProgramOptions::ProgramOptions(const QString& folder)
    : m_settings(folder + u'/' + QLatin1String(kFileName), QSettings::IniFormat)
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
