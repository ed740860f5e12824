// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_file.h"

#include "settings/config_format.h"
#include "settings/gbk_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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
    // At most the file's own size: Qt allocates all it is asked for up front, and freeing a block
    // that large moves glibc's mmap threshold up, which costs half a megabyte of heap for good.
    *bytes = file.read(qMin(file.size(), SettingsFile::kMaxBytes));
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return false;
    }
    if (!file.atEnd())
        *why = u"larger than %1 bytes; the rest is ignored"_s.arg(SettingsFile::kMaxBytes);
    return true;
}

// Why a save failed, in the user's words (the system's own are English).
QString failureReason(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return u"磁盘空间不足"_s;
    case EFBIG: return u"文件超出了系统允许的大小"_s;
    case EACCES:
    case EPERM: return u"没有写入权限"_s;
    case EROFS: return u"磁盘是只读的"_s;
    case ENOENT: return u"文件夹不存在"_s;
    case ENOTDIR: return u"路径中有一项不是文件夹"_s;
    case EISDIR: return u"这是一个文件夹，不是文件"_s;
    case EIO: return u"读写磁盘出错"_s;
    default: return u"系统错误（%1）"_s.arg(qt_error_string(error));
    }
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

    removeLeftovers();
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
        return fail(u"缺少 GB18030 编码转换"_s);
    const QFileInfo existing(m_configPath);
    if (existing.isDir())
        return fail(failureReason(EISDIR));
    // Replacing the file would get past its read-only mark: the folder is all a rename needs.
    if (existing.exists() && !existing.isWritable())
        return fail(u"文件是只读的"_s);

    removeLeftovers();
    QDir().mkpath(QFileInfo(m_configPath).absolutePath());
    QSaveFile file(m_configPath);
    // Never fall back to writing in place: a crash half-way would leave half a file.
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(failureReason(errno));
    const QByteArray bytes = ConfigFormat::toBytes(settings);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const QString why = failureReason(errno);
        file.cancelWriting();
        return fail(why);
    }
    // Flush here: Qt 6.4's commit() ignores a failed last flush (disk full) and would put
    // the cut-off file in place of the old one. The failed flush leaves its reason in errno.
    errno = 0;
    if (!file.flush()) {
        const QString why = failureReason(errno);
        file.cancelWriting();
        return fail(why);
    }
    errno = 0;
    if (!file.commit())
        return fail(failureReason(errno));
    return true;
}

void SettingsFile::removeLeftovers() const
{
    // A save killed between writing its temporary copy and renaming it leaves
    // "config.txt.XXXXXX" behind; only names of exactly that form are ours.
    const QFileInfo config(m_configPath);
    const QRegularExpression ours(u"^"_s + QRegularExpression::escape(config.fileName()) +
                                  u"\\.[A-Za-z0-9]{6}$"_s);
    const QDir folder = config.absoluteDir();
    for (const QFileInfo& entry :
         folder.entryInfoList({config.fileName() + u".??????"_s}, QDir::Files | QDir::Hidden)) {
        if (ours.match(entry.fileName()).hasMatch() && !entry.isSymLink())
            QFile::remove(entry.absoluteFilePath());
    }
}
