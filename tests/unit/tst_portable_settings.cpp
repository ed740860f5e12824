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

    void takesTheCopysFilesAndKeepsTheOthers()
    {
        const QString from = folder(u"take/zip"_s);
        write(from + u"/config.txt"_s, "law1:mine\r\n");
        write(from + u"/tools.ini"_s, "[clocktool]\r\nservers=10.0.0.1\r\n");
        write(from + u"/holidays.txt"_s, "2027-02-12\n");
        const QString to = folder(u"take/AppData/Tickbell"_s);
        write(to + u"/config.txt"_s, "law1:default\r\n");
        write(to + u"/tickbell.ini"_s, "[reminders]\r\nstandardTime=true\r\n");

        QString error;
        QCOMPARE(PortableSettings::take(from, to, &error), QStringList({u"tools.ini"_s, u"config.txt"_s}));
        QCOMPARE(read(to + u"/config.txt"_s), "law1:mine\r\n");
        QCOMPARE(read(to + u"/tools.ini"_s), "[clocktool]\r\nservers=10.0.0.1\r\n");
        QCOMPARE(read(to + u"/tickbell.ini"_s), "[reminders]\r\nstandardTime=true\r\n");
        QVERIFY(!QFile::exists(to + u"/holidays.txt"_s)); // the calendar's to take
    }

    void ownHolidayLines_data()
    {
        QTest::addColumn<QString>("copy");
        QTest::addColumn<QString>("package");
        QTest::addColumn<QString>("own");
        const QString package =
            u"# Weekdays the exchanges closed\n2010-02-15\n2010-02-16\n2027-05-03 open\n"_s;
        QTest::newRow("the package's days, one dropped")
            << u"2010-02-15\n2027-05-03 open\n"_s << package << QString();
        QTest::newRow("a pasted year")
            << u"2010-02-15\n2027-02-11\n2027-02-12\n"_s << package << u"2027-02-11\n2027-02-12\n"_s;
        QTest::newRow("a listed day opened") << u"2010-02-16 open\n"_s << package << u"2010-02-16 open\n"_s;
        QTest::newRow("spelt otherwise")
            << u"  2010-02-15\t# 春节\n2027-05-03   OPEN\n"_s << package << QString();
        QTest::newRow("no days") << u"# mine\n\nnot a day\n2027-02-30\n"_s << package << QString();
        QTest::newRow("Notepad's line ends")
            << u"2027-02-12  # 我的\r\n2010-02-15\r\n"_s << package << u"2027-02-12\n"_s;
    }

    void ownHolidayLines()
    {
        QFETCH(QString, copy);
        QFETCH(QString, package);
        QFETCH(QString, own);
        QCOMPARE(PortableSettings::ownHolidayLines(copy, package), own);
    }

    void aFailedTakeLeavesNothing()
    {
        const QString from = folder(u"fail/zip"_s);
        write(from + u"/tools.ini"_s, "[clocktool]\r\n"); // and no config.txt
        const QString to = folder(u"fail/AppData/Tickbell"_s);

        QString error;
        QVERIFY(PortableSettings::take(from, to, &error).isEmpty());
        QVERIFY2(error.contains(u"config.txt"_s), qPrintable(error));
        QCOMPARE(QDir(to).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPortableSettings)
#include "tst_portable_settings.moc"
