// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/gbk_text.h"
#include "instance/instance_lock.h"
#include "platform/windows/sapi_speech.h"
#include "platform/windows/shell_launcher.h"
#include "platform/windows/windows_code_page.h"
#include "platform/windows/winmm_sound.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <windows.h>

#include <mmsystem.h>

using namespace Qt::StringLiterals;

namespace {

const WindowsCodePage kCodePage;

// Two seconds of 16-bit PCM silence: long enough to be still playing when looked at.
QByteArray silentWav()
{
    const quint32 rate = 8000, dataSize = rate * 2 * 2;
    QByteArray wav;
    auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav += "RIFF";
    u32(36 + dataSize);
    wav += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(dataSize);
    wav.append(QByteArray(dataSize, '\0'));
    return wav;
}

// Asks winmm to play only if nothing of this process is playing, and stops it again.
bool somethingPlays(const std::wstring& probe)
{
    if (!PlaySoundW(probe.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP))
        return true;
    PlaySoundW(nullptr, nullptr, 0);
    return false;
}

} // namespace

class TestWindowsBackends : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The bytes Linux writes, through Windows' own code page (936 under Wine, 54936 elsewhere).
    void gbkRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("rule") << u"买入纪律：空仓"_s
                              << QByteArray("\xC2\xF2\xC8\xEB\xBC\xCD\xC2\xC9\xA3\xBA\xBF\xD5\xB2\xD6");
        QTest::newRow("euro as GB18030 writes it") << u"€5"_s
                                                   << QByteArray("\xA2\xE3"
                                                                 "5");
        QTest::newRow("ascii") << u"qqnews:1\r\n"_s << QByteArray("qqnews:1\r\n");
    }

    void gbkRoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QVERIFY(kCodePage.available());
        QCOMPARE(GbkText::encode(text, kCodePage), bytes);
        QCOMPARE(GbkText::decode(bytes, kCodePage), text);
    }

    void promptPlaysAndStops()
    {
        if (waveOutGetNumDevs() == 0)
            QSKIP("no sound device (tests/windows/e2e.sh runs this on a PulseAudio null sink)");
        const QString prompt = m_dir.filePath(u"提示.wav"_s);
        QFile file(prompt);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(silentWav());
        file.close();
        const std::wstring probe = QDir::toNativeSeparators(prompt).toStdWString();

        WinmmSound sound;
        sound.play(prompt);
        QTest::qWait(300); // a sound that could not be opened would have ended by now
        QVERIFY(somethingPlays(probe));
        sound.close();
        QVERIFY(!somethingPlays(probe));
    }

    // SAPI is asked, whatever voices the system has (Wine's have none worth hearing): each text
    // ends, read or not, and nothing blocks or fails loudly.
    void voiceEndsEachText()
    {
        SapiSpeech speech;
        QSignalSpy finished(&speech, &Speech::finished);
        speech.say(u"尾盘检查持仓"_s);
        speech.say(u"明天起休市"_s);
        speech.stop();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 20000);
        QVERIFY(!speech.speaking());
    }

    void programStartsInItsOwnFolder()
    {
        const QString folder = m_dir.filePath(u"交易 程序"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString program = folder + u"/client.exe"_s;
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + u"/launch_stub.exe"_s, program));

        ShellLauncher launcher;
        QVERIFY(launcher.openPath(program));
        QFile written(folder + u"/launched.txt"_s);
        QTRY_VERIFY_WITH_TIMEOUT(written.size() > 0, 20000);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray utf16 = written.readAll();
        const QString startedIn =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()), utf16.size() / 2);
        QCOMPARE(startedIn.toLower(), QDir::toNativeSeparators(folder).toLower());
    }

    // The second start lets the process at the other end of the pipe take the foreground.
    void secondStartFindsTheFirstCopy()
    {
        QLocalServer first;
        QVERIFY(first.listen(instanceServerName(u"tickbell-test"_s)));
        QLocalSocket second;
        second.connectToServer(first.serverName());
        QVERIFY(second.waitForConnected(5000));
        QCOMPARE(allowPeerToTakeForeground(second.socketDescriptor()), QCoreApplication::applicationPid());
    }

    void addressThatIsAProgramIsRefused()
    {
        ShellLauncher launcher;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not a web address"_s));
        QVERIFY(!launcher.openAddress(QDir::toNativeSeparators(QCoreApplication::applicationFilePath())));
    }
};

QTEST_GUILESS_MAIN(TestWindowsBackends)
#include "tst_windows_backends.moc"
