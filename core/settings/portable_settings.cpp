// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/portable_settings.h"

#include "core/calendar/holidays_file.h"
#include "core/settings/text_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace PortableSettings {

namespace {

// Far more than any of its settings files holds.
constexpr qint64 kMaxBytes = 1024 * 1024;

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
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
    };
    if (!QFileInfo(from + u"/config.txt"_s).isFile()) {
        fail(u"%1 中没有 config.txt。"_s.arg(QDir::toNativeSeparators(from)));
        return {};
    }
    if (!QDir().mkpath(to)) {
        fail(u"无法创建文件夹 %1"_s.arg(QDir::toNativeSeparators(to)));
        return {};
    }
    // All read before anything is replaced: a copy that cannot be read changes nothing.
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& name : {u"tools.ini"_s, u"tickbell.ini"_s, u"config.txt"_s}) {
        const QString source = from + u'/' + name;
        if (!QFileInfo::exists(source))
            continue;
        QByteArray bytes;
        QString why;
        if (!TextFile::read(source, kMaxBytes, &bytes, &why) || !why.isEmpty()) {
            fail(u"无法读取 %1：%2"_s.arg(QDir::toNativeSeparators(source), why));
            return {};
        }
        files.append({name, bytes});
    }
    QStringList taken;
    for (const auto& [name, bytes] : files) {
        QString why;
        if (!TextFile::save(to + u'/' + name, bytes, &why)) {
            fail(why);
            return taken;
        }
        taken << name;
    }
    return taken;
}

QString ownHolidayLines(const QString& copy, const QString& package)
{
    // A line as the calendar reads it: the day and what it says of it; empty for no day.
    const auto meaning = [](const QString& line) {
        const DayMarks marks = HolidaysFile::parse(line).marks;
        return marks.isEmpty()
                   ? QString()
                   : marks.firstKey().toString(Qt::ISODate) + u' ' + QString::number(int(marks.first()));
    };
    QSet<QString> packaged;
    for (const QString& line : package.split(u'\n'))
        packaged.insert(meaning(line));
    QStringList own;
    for (const QString& line : copy.split(u'\n')) {
        const QString said = meaning(line);
        if (!said.isEmpty() && !packaged.contains(said))
            own << line.section(u'#', 0, 0).trimmed();
    }
    return own.isEmpty() ? QString() : own.join(u'\n') + u'\n';
}

} // namespace PortableSettings
