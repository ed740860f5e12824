// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/voice_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestVoicePrompt : public QObject {
    Q_OBJECT

private slots:
    void fileForName_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("file");
        QTest::newRow("welcome") << u"Tickbell.wav"_s << u"Tickbell.wav"_s;
        QTest::newRow("call auction") << u"机构竞价.wav"_s << u"机构竞价.wav"_s;
        QTest::newRow("morning open") << u"上午开盘时间.wav"_s << u"上午开盘时间.wav"_s;
        QTest::newRow("key point 1") << u"盘中关键时间点1.wav"_s << u"盘中关键时间点.wav"_s;
        QTest::newRow("key point 2") << u"盘中关键时间点2.wav"_s << u"盘中关键时间点.wav"_s;
        QTest::newRow("five minutes keeps its 5") << u"5分钟后收盘.wav"_s << u"5分钟后收盘.wav"_s;
        QTest::newRow("midday, upper-case .WAV") << u"中午休盘时间.WAV"_s << u"中午休盘时间.WAV"_s;
        QTest::newRow("afternoon open") << u"下午开盘时间.wav"_s << u"下午开盘时间.wav"_s;
        QTest::newRow("closed") << u"今天已收盘.wav"_s << u"今天已收盘.wav"_s;
        QTest::newRow("holiday") << u"今天不开盘.wav"_s << u"今天不开盘.wav"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("every 1 and 2, other digits kept")
            << u"a1b22c0123456789.wav"_s << u"abc03456789.wav"_s;
        QTest::newRow("full-width digits are not digits 1 and 2") << u"提示１２.wav"_s << u"提示１２.wav"_s;
    }
    void fileForName()
    {
        QFETCH(QString, requested);
        QFETCH(QString, file);
        QCOMPARE(promptFileName(requested), file);
    }

    void pathInTheSoundFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("path");
        QTest::newRow("key point 2") << u"/opt/tickbell"_s << u"盘中关键时间点2.wav"_s
                                     << u"/opt/tickbell/sound/盘中关键时间点.wav"_s;
        QTest::newRow("upper-case extension")
            << u"/opt/tickbell"_s << u"中午休盘时间.WAV"_s << u"/opt/tickbell/sound/中午休盘时间.WAV"_s;
        QTest::newRow("empty name ends in the folder")
            << u"/opt/tickbell"_s << QString() << u"/opt/tickbell/sound/"_s;
        QTest::newRow("digits in the folder stay") << u"/home/u12/tickbell 1.32"_s << u"今天已收盘.wav"_s
                                                   << u"/home/u12/tickbell 1.32/sound/今天已收盘.wav"_s;
    }
    void pathInTheSoundFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, requested);
        QFETCH(QString, path);
        QCOMPARE(promptFilePath(folder, requested), path);
    }

    // The nine files of an installation are found from every name the program requests.
    void everyRequestFindsAnInstalledFile()
    {
        QTemporaryDir program;
        QVERIFY(program.isValid());
        QVERIFY(QDir(program.path()).mkpath(u"sound"_s));
        const QStringList installed = {
            u"Tickbell.wav"_s,       u"机构竞价.wav"_s,    u"上午开盘时间.wav"_s,
            u"盘中关键时间点.wav"_s, u"5分钟后收盘.wav"_s, u"中午休盘时间.WAV"_s,
            u"下午开盘时间.wav"_s,   u"今天已收盘.wav"_s,  u"今天不开盘.wav"_s,
        };
        for (const QString& name : installed) {
            QFile f(program.filePath(u"sound/"_s + name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QStringList requested = {
            u"Tickbell.wav"_s,        u"机构竞价.wav"_s,    u"上午开盘时间.wav"_s, u"盘中关键时间点1.wav"_s,
            u"盘中关键时间点2.wav"_s, u"5分钟后收盘.wav"_s, u"中午休盘时间.WAV"_s, u"下午开盘时间.wav"_s,
            u"今天已收盘.wav"_s,      u"今天不开盘.wav"_s,
        };
        QSet<QString> used;
        for (const QString& name : requested) {
            const QString path = promptFilePath(program.path(), name);
            QVERIFY2(QFile::exists(path), qPrintable(path));
            used.insert(QFileInfo(path).fileName());
        }
        QCOMPARE(used.size(), installed.size());
        // An empty request names the folder itself, not a file.
        QVERIFY(!QFileInfo(promptFilePath(program.path(), QString())).isFile());
    }
};

QTEST_GUILESS_MAIN(TestVoicePrompt)
#include "tst_voice_prompt.moc"
