// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/portable_import.h"

#include "core/calendar/holidays_file.h"
#include "core/day/trading_day.h"
#include "core/settings/portable_settings.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcImport, "tickbell.import")

namespace {

const QString kTitle = u"导入设置 - Tickbell"_s;

// Only the user's own folders: a portable copy elsewhere is taken only when he chooses it.
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

// When the copy's settings were last changed, on the computer's clock face: a file's local time
// would go through the C runtime's zone on Windows.
QString changedAt(const QString& folder, const QDateTime& now)
{
    const qint64 ms = QFileInfo(folder + u"/config.txt"_s).lastModified().toMSecsSinceEpoch();
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, now.offsetFromUtc())
        .toString(u"yyyy-MM-dd HH:mm"_s);
}

// What an import of folder replaces, and what it adds.
QString whatItTakes(const QString& folder)
{
    QStringList files{u"config.txt"_s};
    for (const QString& name : {u"tools.ini"_s, u"tickbell.ini"_s}) {
        if (QFileInfo::exists(folder + u'/' + name))
            files << name;
    }
    QString what = u"会用那里的 %1 替换这里的"_s.arg(files.join(u"、"_s));
    if (QFileInfo::exists(folder + u"/holidays.txt"_s))
        what += u"，并加入您在那里自己设定的休市日（holidays.txt）"_s;
    return what + u"；解压版的文件夹保持不变。"_s;
}

QString fileMeaning(const QString& name)
{
    if (name == u"tools.ini"_s)
        return u"时间服务器和佣金"_s;
    if (name == u"tickbell.ini"_s)
        return u"按标准时间提醒和提醒方式"_s;
    return u"系统设置和交易纪律"_s;
}

} // namespace

PortableImport::PortableImport(TradingDay& day, QWidget& window, QString programFolder, ConfigLocation config,
                               const CodePage& codePage, QObject* parent)
    : QObject(parent), m_day(day), m_window(window), m_programFolder(std::move(programFolder)),
      m_config(std::move(config)), m_codePage(codePage)
{
    QMenuBar* bar = window.findChild<QMenuBar*>();
    QMenu* file = bar ? bar->findChild<QMenu*>(u"f123"_s) : nullptr;
    Q_ASSERT(file);
    item = new QAction(u"导入解压版设置…"_s, this);
    item->setObjectName(u"importPortable"_s);
    const QList<QAction*> items = file->actions();
    QAction* before = items.isEmpty() ? nullptr : items.last(); // 退出
    file->insertAction(before, item);
    file->insertSeparator(before);
    connect(item, &QAction::triggered, this, &PortableImport::chooseFolder);
}

void PortableImport::offerFound()
{
    const QString found = PortableSettings::find(usersPlaces(), m_programFolder).value(0);
    if (found.isEmpty())
        return;
    const QString settingsFolder = QFileInfo(m_config.configPath).absolutePath();
    QMessageBox box(QMessageBox::Question, kTitle,
                    u"安装版 Tickbell 把设置保存在 %1，现在用的是默认设置。\n\n"
                    "在 %2 有解压版 Tickbell 的设置（config.txt，修改于 %3）。要导入吗？%4"_s.arg(
                        native(settingsFolder), native(found),
                        changedAt(found, m_day.clock().computer().now()), whatItTakes(found)),
                    QMessageBox::NoButton, &m_window);
    QPushButton* take = box.addButton(u"导入"_s, QMessageBox::AcceptRole);
    QPushButton* other = box.addButton(u"选择其他文件夹…"_s, QMessageBox::ActionRole);
    QPushButton* skip = box.addButton(u"不导入"_s, QMessageBox::RejectRole);
    box.setDefaultButton(take);
    box.setEscapeButton(skip);
    box.exec();
    // No answer: the program is ending (the end of the session).
    if (box.clickedButton() == take)
        importFrom(found);
    else if (box.clickedButton() == other)
        chooseFolder();
    else if (box.clickedButton() == skip)
        qCInfo(lcImport, "no settings imported: running on %s", qUtf8Printable(native(m_config.configPath)));
}

void PortableImport::chooseFolder()
{
    const QString found = PortableSettings::find(usersPlaces(), m_programFolder).value(0);
    const QString chosen = QFileDialog::getExistingDirectory(&m_window, u"选择解压版 Tickbell 的文件夹"_s,
                                                             found.isEmpty() ? QDir::homePath() : found);
    if (chosen.isEmpty())
        return;
    if (!QFileInfo(chosen + u"/config.txt"_s).isFile()) {
        QMessageBox::warning(&m_window, kTitle, u"%1 中没有 config.txt。"_s.arg(native(chosen)));
        return;
    }
    const QString settingsFolder = QFileInfo(m_config.configPath).absolutePath();
    QMessageBox box(
        QMessageBox::Question, kTitle,
        u"要导入 %1 中解压版 Tickbell 的设置吗？（config.txt 修改于 %2）\n\n%3\n现在的设置在 %4。"_s.arg(
            native(chosen), changedAt(chosen, m_day.clock().computer().now()), whatItTakes(chosen),
            native(settingsFolder)),
        QMessageBox::NoButton, &m_window);
    QPushButton* take = box.addButton(u"导入"_s, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(take);
    box.exec();
    if (box.clickedButton() == take)
        importFrom(chosen);
}

void PortableImport::importFrom(const QString& folder)
{
    const QString settingsFolder = QFileInfo(m_config.configPath).absolutePath();
    QString error;
    const QStringList taken = PortableSettings::take(folder, settingsFolder, &error);
    if (taken.contains(u"config.txt"_s))
        m_day.LoadSettings();
    QStringList told;
    for (const QString& name : {u"config.txt"_s, u"tools.ini"_s, u"tickbell.ini"_s}) {
        if (taken.contains(name))
            told << u"%1（%2）"_s.arg(name, fileMeaning(name));
    }

    // The days the trader set there join his own, through the calendar the day runs on.
    if (error.isEmpty() && QFileInfo::exists(folder + u"/holidays.txt"_s)) {
        const HolidaysFile::Loaded copy = HolidaysFile::read(folder + u"/holidays.txt"_s, m_codePage);
        const HolidaysFile::Loaded package =
            HolidaysFile::read(m_programFolder + u"/holidays.txt"_s, m_codePage);
        const QString own = PortableSettings::ownHolidayLines(copy.text, package.text);
        const qsizetype days = HolidaysFile::parse(own).marks.size();
        if (!copy.ok) {
            error = copy.problems.join(u'\n');
        } else if (days == 0) {
            told << u"holidays.txt：与安装版自带的相同，没有您自己设定的日子"_s;
        } else {
            TradingCalendar edited = m_day.calendar();
            edited.addOwnDays(own);
            if (m_day.saveCalendar(edited, &error))
                told << u"holidays.txt 中您自己设定的 %1 天"_s.arg(days);
        }
    }

    qCInfo(lcImport, "imported from %s: %s", qUtf8Printable(native(folder)),
           qUtf8Printable(told.join(u", "_s)));
    QString text = told.isEmpty() ? QString() : u"已从 %1 导入：\n%2"_s.arg(native(folder), told.join(u'\n'));
    if (error.isEmpty()) {
        QMessageBox::information(&m_window, kTitle, text);
        return;
    }
    qCWarning(lcImport, "%s", qUtf8Printable(error));
    QMessageBox::warning(&m_window, kTitle,
                         (text.isEmpty() ? QString() : text + u"\n\n"_s) + u"没能全部导入："_s + error);
}
