// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/portable_settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPortableSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString folder(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    // A file with these bytes, changed daysAgo days ago.
    void write(const QString& path, const QByteArray& bytes, int daysAgo = 0)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
        QVERIFY(f.flush()); // or the write at close would make it new again
        QVERIFY(
            f.setFileTime(QDateTime::currentDateTime().addDays(-daysAgo), QFileDevice::FileModificationTime));
    }

    void portableCopy(const QString& at, int daysAgo)
    {
        write(at + u"/Tickbell.exe"_s, "MZ");
        write(at + u"/config.txt"_s, "qqnews:1\r\n", daysAgo);
    }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void findsTheUsersCopiesNewestFirst()
    {
        const QString desktop = folder(u"find/Desktop"_s);
        const QString documents = folder(u"find/Documents"_s);
        portableCopy(folder(u"find/Desktop/Tickbell-1.30"_s), 30);
        portableCopy(folder(u"find/Documents/股票 软件"_s), 1);
        // Where a shortcut on the desktop points.
        const QString elsewhere = folder(u"find/D/Tickbell"_s);
        portableCopy(elsewhere, 7);
        QVERIFY(QFile::link(elsewhere + u"/Tickbell.exe"_s, desktop + u"/Tickbell.lnk"_s));
        // Not settings of a portable copy, or the installed copy's own folder.
        write(folder(u"find/Desktop/no settings"_s) + u"/Tickbell.exe"_s, "MZ");
        write(folder(u"find/Desktop/no program"_s) + u"/config.txt"_s, "qqnews:1\r\n");
        const QString installed = folder(u"find/Documents/installed"_s);
        portableCopy(installed, 0);
        portableCopy(folder(u"find/Desktop/a/too deep"_s), 0);

        QCOMPARE(PortableSettings::find({desktop, documents}, installed),
                 QStringList({documents + u"/股票 软件"_s, elsewhere, desktop + u"/Tickbell-1.30"_s}));
    }

    void keepsTheUsersOwnHolidays()
    {
        const QString from = folder(u"keep/zip"_s);
        write(from + u"/config.txt"_s, "law1:mine\r\n");
        write(from + u"/holidays.txt"_s, "2027-02-12\n");
        const QString to = folder(u"keep/AppData/Tickbell"_s);
        write(to + u"/holidays.txt"_s, "2028-01-31\n");

        QString error;
        QCOMPARE(PortableSettings::take(from, to, &error), QStringList({u"config.txt"_s}));
        QCOMPARE(read(to + u"/holidays.txt"_s), "2028-01-31\n");
    }

    void aFailedTakeLeavesNothing()
    {
        const QString from = folder(u"fail/zip"_s);
        write(from + u"/holidays.txt"_s, "2027-02-12\n"); // and no config.txt
        const QString to = folder(u"fail/AppData/Tickbell"_s);

        QString error;
        QVERIFY(PortableSettings::take(from, to, &error).isEmpty());
        QVERIFY2(error.contains(u"config.txt"_s), qPrintable(error));
        QCOMPARE(QDir(to).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPortableSettings)
#include "tst_portable_settings.moc"
