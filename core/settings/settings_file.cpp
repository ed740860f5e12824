// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings_file.h"

#include "core/settings/config_format.h"
#include "core/settings/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

SettingsFile::SettingsFile(QString configPath, QString defaultPath, const CodePage& codePage)
    : m_configPath(std::move(configPath)), m_defaultPath(std::move(defaultPath)), m_codePage(codePage)
{
}

SettingsFile::Loaded SettingsFile::load() const
{
    Loaded result{Settings::defaults(), {}};
    if (!m_codePage.available()) {
        result.problems << u"this Qt has no GB18030 converter; running on the default settings"_s;
        return result;
    }

    TextFile::removeLeftovers(m_configPath);
    QString source = m_configPath;
    if (!QFileInfo::exists(m_configPath)) {
        if (!QFileInfo::exists(m_defaultPath)) {
            result.problems << u"neither %1 nor %2 exists; running on the default settings"_s.arg(
                m_configPath, m_defaultPath);
            return result;
        }
        QDir().mkpath(QFileInfo(m_configPath).absolutePath());
        if (!QFile::copy(m_defaultPath, m_configPath)) {
            // Still start from the shipped defaults; a later save creates config.txt.
            result.problems << u"cannot copy %1 to %2; reading the default file instead"_s.arg(m_defaultPath,
                                                                                               m_configPath);
            source = m_defaultPath;
        }
    }

    QByteArray bytes;
    QString why;
    if (!TextFile::read(source, kMaxBytes, &bytes, &why)) {
        result.problems << u"cannot read %1 (%2); running on the default settings"_s.arg(source, why);
        return result;
    }
    if (!why.isEmpty())
        result.problems << u"%1 is %2"_s.arg(source, why);
    const TextFile::Decoded decoded = TextFile::decode(bytes, m_codePage);
    if (decoded.encoding == TextFile::Encoding::Utf8)
        result.problems << u"%1 was saved as UTF-8 and is read so; the next save writes it in GB18030"_s.arg(
            source);
    result.settings = ConfigFormat::parse(decoded.text, result.settings);
    return result;
}

bool SettingsFile::save(const Settings& settings, QString* error) const
{
    if (!m_codePage.available()) {
        if (error)
            *error = u"缺少 GB18030 编码转换"_s;
        return false;
    }
    return TextFile::save(m_configPath, ConfigFormat::toBytes(settings, m_codePage), error);
}
