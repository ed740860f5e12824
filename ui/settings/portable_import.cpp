// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/portable_import.h"

#include "core/settings/portable_settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcImport, "tickbell.import")

namespace {

const QString kTitle = u"导入设置 - Tickbell"_s;

// Only the user's own folders: a portable copy elsewhere is offered only when he chooses it.
QStringList usersPlaces()
{
    const QString programs = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    return {QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
            QStandardPaths::writableLocation(QStandardPaths::DownloadLocation), programs,
            programs + u"/Startup"_s};
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

bool offerPortableSettings(const QString& programFolder, const ConfigLocation& config)
{
    const QString settingsFolder = QFileInfo(config.configPath).absolutePath();
    const QString here =
        u"安装版 Tickbell 把设置保存在 %1，那里还没有 config.txt。"_s.arg(native(settingsFolder));
    const bool ownHolidays = QFileInfo::exists(settingsFolder + u"/holidays.txt"_s);
    QString from = PortableSettings::find(usersPlaces(), programFolder).value(0);
    for (;;) {
        QMessageBox box(QMessageBox::Question, kTitle, QString());
        QPushButton* take = nullptr;
        if (from.isEmpty()) {
            box.setText(here +
                        u"\n\n如果您以前用过解压版 Tickbell（压缩包），它的设置 config.txt 和 holidays.txt "
                        "在解压出来的文件夹里：选择那个文件夹就可以导入。不导入则使用默认设置。"_s);
        } else {
            const QDateTime changed = QFileInfo(from + u"/config.txt"_s).lastModified();
            QString what = u"config.txt"_s;
            if (QFileInfo::exists(from + u"/holidays.txt"_s))
                what += ownHolidays ? u"（holidays.txt 保留这里已有的）"_s : u" 和 holidays.txt"_s;
            box.setText(here + u"\n\n在 %1 有解压版 Tickbell 的设置（config.txt，修改于 %2）。要导入吗？"
                               "会复制那里的 %3，解压版的文件夹保持不变。"_s.arg(
                                   native(from), changed.toString(u"yyyy-MM-dd HH:mm"_s), what));
            take = box.addButton(u"导入"_s, QMessageBox::AcceptRole);
        }
        QPushButton* choose =
            box.addButton(from.isEmpty() ? u"选择文件夹…"_s : u"选择其他文件夹…"_s, QMessageBox::ActionRole);
        QPushButton* skip = box.addButton(u"不导入"_s, QMessageBox::RejectRole);
        box.setDefaultButton(take ? take : skip);
        box.setEscapeButton(skip);
        box.exec();
        const QAbstractButton* clicked = box.clickedButton();
        if (!clicked)
            return false;
        if (clicked == skip) {
            qCInfo(lcImport, "no settings imported: starting from %s",
                   qUtf8Printable(native(config.defaultPath)));
            return true;
        }
        if (clicked == choose) {
            const QString chosen = QFileDialog::getExistingDirectory(
                nullptr, u"选择解压版 Tickbell 的文件夹"_s, from.isEmpty() ? QDir::homePath() : from);
            if (chosen.isEmpty())
                continue;
            if (QFileInfo(chosen + u"/config.txt"_s).isFile())
                from = chosen;
            else
                QMessageBox::warning(nullptr, kTitle, u"%1 中没有 config.txt。"_s.arg(native(chosen)));
            continue;
        }
        QString error;
        const QStringList taken = PortableSettings::take(from, settingsFolder, &error);
        if (taken.isEmpty()) {
            qCWarning(lcImport, "%s", qUtf8Printable(error));
            QMessageBox::warning(nullptr, kTitle, error + u"\n\nTickbell 将使用默认设置。"_s);
        } else {
            qCInfo(lcImport, "imported %s from %s", qUtf8Printable(taken.join(u", "_s)),
                   qUtf8Printable(native(from)));
        }
        return true;
    }
}
