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

} // namespace

namespace TextFile {

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

bool save(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo existing(path);
    if (existing.isDir())
        return fail(failureReason(EISDIR));
    // Replacing the file would get past its read-only mark: the folder is all a rename needs.
    if (existing.exists() && !existing.isWritable())
        return fail(u"文件是只读的"_s);

    removeLeftovers(path);
    QDir().mkpath(existing.absolutePath());
    QSaveFile file(path);
    // Never fall back to writing in place: a crash half-way would leave half a file.
    file.setDirectWriteFallback(false);
    // Windows' own calls leave errno alone: there the device's words, in the system's language.
    const auto why = [&file](int code) {
        return code != 0 ? failureReason(code) : u"无法写入（%1）"_s.arg(file.errorString());
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(why(errno));
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const QString reason = why(errno);
        file.cancelWriting();
        return fail(reason);
    }
    // Flush here: Qt 6.4's commit() ignores a failed last flush (disk full) and would put
    // the cut-off file in place of the old one. The failed flush leaves its reason in errno.
    errno = 0;
    if (!file.flush()) {
        const QString reason = why(errno);
        file.cancelWriting();
        return fail(reason);
    }
    errno = 0;
    if (!file.commit())
        return fail(why(errno));
    return true;
}

void removeLeftovers(const QString& path)
{
    // Only the name plus QSaveFile's six random characters is ours to remove.
    const QFileInfo info(path);
    const QRegularExpression ours(u"^"_s + QRegularExpression::escape(info.fileName()) +
                                  u"\\.[A-Za-z0-9]{6}$"_s);
    const QDir folder = info.absoluteDir();
    for (const QFileInfo& entry :
         folder.entryInfoList({info.fileName() + u".??????"_s}, QDir::Files | QDir::Hidden)) {
        if (ours.match(entry.fileName()).hasMatch() && !entry.isSymLink())
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace TextFile
