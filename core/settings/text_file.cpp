// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/text_file.h"

#include "core/settings/gbk_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

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

// The rename into place is kept across a power cut only once the folder is on the disk too
// (POSIX); Windows' file system journals it.
void syncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// Writes the new file under the staging name through QSaveFile (which syncs it and puts it in
// place whole), with the old file's permissions, then renames it over the target and syncs the
// folder: the rename is atomic where the system has it, and the old file stays until then.
class FileSaveDevice final : public TextFile::SaveDevice {
public:
    explicit FileSaveDevice(const QString& path) : m_path(path), m_staged(TextFile::stagingName(path))
    {
        // Never fall back to writing in place: a crash half-way would leave half a file.
        m_staged.setDirectWriteFallback(false);
    }

    bool open() override
    {
        if (!step([this] { return m_staged.open(QIODevice::WriteOnly); }))
            return false;
        // A file kept private (0600) stays so; the new one is made with the usual mode.
        const QFileInfo old(m_path);
        if (old.exists())
            m_staged.setPermissions(old.permissions());
        return true;
    }
    qint64 write(const QByteArray& bytes) override
    {
        qint64 written = 0;
        step([&] { return (written = m_staged.write(bytes)) == bytes.size(); });
        return written;
    }
    bool flush() override
    {
        return step([this] { return m_staged.flush(); });
    }
    bool commit() override
    {
        if (!step([this] { return m_staged.commit(); }))
            return false;
        std::error_code failure;
        std::filesystem::rename(QFileInfo(m_staged.fileName()).filesystemFilePath(),
                                QFileInfo(m_path).filesystemFilePath(), failure);
        if (!failure) {
            syncFolder(QFileInfo(m_path).absolutePath());
            return true;
        }
        m_errno = failure.category() == std::generic_category() ? failure.value() : 0;
        m_message = QString::fromLocal8Bit(failure.message());
        QFile::remove(m_staged.fileName());
        return false;
    }
    void cancel() override { m_staged.cancelWriting(); }
    int errorNumber() const override { return m_errno; }
    QString errorString() const override { return m_message.isEmpty() ? m_staged.errorString() : m_message; }

private:
    // errno as the failing call left it; QSaveFile's own words in errorString.
    template <class Call> bool step(Call call)
    {
        errno = 0;
        const bool ok = call();
        m_errno = ok ? 0 : errno;
        return ok;
    }

    QString m_path;
    QSaveFile m_staged;
    int m_errno = 0;
    QString m_message;
};

// A link is written through: the file it points to is replaced, the link stays.
QString throughLinks(const QString& path)
{
    const QFileInfo link(path);
    if (!link.isSymLink())
        return path;
    const QString target = link.canonicalFilePath();
    return target.isEmpty() ? link.symLinkTarget() : target; // a link to nothing yet: its target
}

} // namespace

namespace TextFile {

std::unique_ptr<SaveDevice> SaveDevice::forFile(const QString& path)
{
    return std::make_unique<FileSaveDevice>(path);
}

bool read(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* why)
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
    *bytes = file.read(qMin(file.size(), maxBytes));
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return false;
    }
    if (!file.atEnd())
        *why = u"larger than %1 bytes; the rest is ignored"_s.arg(maxBytes);
    return true;
}

Decoded decode(const QByteArray& bytes, const CodePage& codePage)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return {QString::fromUtf8(bytes.mid(bom.size())), Encoding::Utf8};
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return {QString::fromLatin1(bytes), Encoding::Ascii};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {text, Encoding::Utf8};
    return {GbkText::decode(bytes, codePage), Encoding::Gbk};
}

bool save(SaveDevice& device, const QByteArray& bytes, QString* error)
{
    // Windows' own calls leave errno alone: there the device's words, in the system's language.
    const auto fail = [&device, error](bool cancel) {
        const int code = device.errorNumber();
        const QString why = code != 0 ? failureReason(code) : u"无法写入（%1）"_s.arg(device.errorString());
        if (cancel)
            device.cancel();
        if (error)
            *error = why;
        return false;
    };
    if (!device.open())
        return fail(false);
    if (device.write(bytes) != bytes.size())
        return fail(true);
    // Flushed here: Qt 6.4's commit() ignores a failed last flush (disk full) and would put the
    // cut-off file in place of the old one.
    if (!device.flush())
        return fail(true);
    if (!device.commit())
        return fail(false);
    return true;
}

bool save(const QString& linkOrPath, const QByteArray& bytes, QString* error)
{
    const QString path = throughLinks(linkOrPath);
    const QFileInfo existing(path);
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (existing.isDir())
        return fail(failureReason(EISDIR));
    // Replacing the file would get past its read-only mark: the folder is all a rename needs.
    if (existing.exists() && !existing.isWritable())
        return fail(u"文件是只读的"_s);
    removeLeftovers(path);
    QDir().mkpath(existing.absolutePath());
    return save(*SaveDevice::forFile(path), bytes, error);
}

QString stagingName(const QString& path)
{
    return path + u".tickbell-saving"_s;
}

void removeLeftovers(const QString& path)
{
    const QFileInfo staging(stagingName(path));
    // The staged file itself, or QSaveFile's six random characters after it.
    const QRegularExpression ours(u"^"_s + QRegularExpression::escape(staging.fileName()) +
                                  u"(\\.[A-Za-z0-9]{6})?$"_s);
    const QDir folder = staging.absoluteDir();
    for (const QFileInfo& entry :
         folder.entryInfoList({staging.fileName() + u"*"_s}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (ours.match(entry.fileName()).hasMatch() && !entry.isSymLink())
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace TextFile
