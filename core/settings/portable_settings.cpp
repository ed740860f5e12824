// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/portable_settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace PortableSettings {

namespace {

bool isPortableCopy(const QString& folder)
{
    return QFileInfo(folder + u"/Tickbell.exe"_s).isFile() && QFileInfo(folder + u"/config.txt"_s).isFile();
}

} // namespace

QStringList find(const QStringList& places, const QString& programFolder)
{
    std::vector<std::pair<QDateTime, QString>> found;
    const auto consider = [&](const QString& folder) {
        const QFileInfo info(folder);
        const auto same = [&info](const auto& f) { return QFileInfo(f.second) == info; };
        if (folder.isEmpty() || info == QFileInfo(programFolder) ||
            std::any_of(found.begin(), found.end(), same) || !isPortableCopy(folder))
            return;
        found.emplace_back(QFileInfo(folder + u"/config.txt"_s).lastModified(), info.absoluteFilePath());
    };
    for (const QString& place : places) {
        consider(place);
        for (const QFileInfo& entry : QDir(place).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (entry.isSymLink()) {
                const QFileInfo target(entry.symLinkTarget());
                consider(target.isDir() ? target.absoluteFilePath() : target.absolutePath());
            } else if (entry.isDir()) {
                consider(entry.absoluteFilePath());
            }
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList folders;
    for (const auto& [changed, folder] : found)
        folders << folder;
    return folders;
}

QStringList take(const QString& from, const QString& to, QString* error)
{
    QStringList copied;
    const auto copy = [&](const QString& name) {
        QFile source(from + u'/' + name);
        if (source.copy(to + u'/' + name)) {
            copied << name;
            return true;
        }
        if (error) {
            *error = u"无法把 %1 复制到 %2：%3"_s.arg(QDir::toNativeSeparators(source.fileName()),
                                                      QDir::toNativeSeparators(to), source.errorString());
        }
        return false;
    };
    if (!QDir().mkpath(to)) {
        if (error)
            *error = u"无法创建文件夹 %1"_s.arg(QDir::toNativeSeparators(to));
        return {};
    }
    if (QFileInfo::exists(from + u"/holidays.txt"_s) && !QFileInfo::exists(to + u"/holidays.txt"_s) &&
        !copy(u"holidays.txt"_s))
        return {};
    if (!copy(u"config.txt"_s)) {
        if (!copied.isEmpty())
            QFile::remove(to + u"/holidays.txt"_s);
        return {};
    }
    return copied;
}

} // namespace PortableSettings
