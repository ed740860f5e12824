// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "platform/gbk_text.h"
#include "settings/config_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

bool readFile(const QString& path, QByteArray* bytes, QString* why)
{
    if (QFileInfo(path).isDir()) {
        *why = u"is a directory"_s;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    *bytes = file.read(SettingsFile::kMaxBytes);
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return false;
    }
    if (!file.atEnd())
        *why = u"larger than %1 bytes; the rest is ignored"_s.arg(SettingsFile::kMaxBytes);
    return true;
}

} // namespace

SettingsFile::SettingsFile(QString configPath, QString defaultPath)
    : m_configPath(std::move(configPath)), m_defaultPath(std::move(defaultPath))
{
}

SettingsFile::Loaded SettingsFile::load() const
{
    Loaded result{Settings::defaults(), {}};
    if (!GbkText::available()) {
        result.problems << u"this Qt has no GB18030 converter; running on the default settings"_s;
        return result;
    }

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
    if (!readFile(source, &bytes, &why)) {
        result.problems << u"cannot read %1 (%2); running on the default settings"_s.arg(source, why);
        return result;
    }
    if (!why.isEmpty())
        result.problems << u"%1 is %2"_s.arg(source, why);
    result.settings = ConfigFormat::fromBytes(bytes, result.settings);
    return result;
}

bool SettingsFile::save(const Settings& settings, QString* error) const
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!GbkText::available())
        return fail(u"no GB18030 converter"_s);
    const QFileInfo existing(m_configPath);
    if (existing.isDir())
        return fail(u"%1 is a directory"_s.arg(m_configPath));
    // Replacing the file would get past its read-only mark: the folder is all a rename needs.
    if (existing.exists() && !existing.isWritable())
        return fail(u"%1 is read-only"_s.arg(m_configPath));

    QDir().mkpath(QFileInfo(m_configPath).absolutePath());
    QSaveFile file(m_configPath);
    // Never fall back to writing in place: a crash half-way would leave half a file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = ConfigFormat::toBytes(settings);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    // Flush here: Qt 6.4's commit() ignores a failed last flush (disk full) and would put
    // the cut-off file in place of the old one. The failed flush leaves its reason in errno.
    if (!file.flush()) {
        const QString why = qt_error_string(errno);
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
