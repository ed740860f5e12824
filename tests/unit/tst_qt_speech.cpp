// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/qt_speech.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Without speech-dispatcher: a socket where none listens, and one that libspeechd does not
// start a server for (it starts one only for its default socket).
class TestQtSpeech : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + QFile::encodeName(m_runtime.filePath(u"none.sock"_s)));
    }

    void noSpeechDispatcherIsNoVoice()
    {
        QtSpeech speech;
        QSignalSpy finished(&speech, &Speech::finished);
        QElapsedTimer clock;
        clock.start();
        speech.say(u"尾盘检查持仓"_s);
        speech.say(u"明天起休市，检查逆回购"_s);
        QVERIFY2(clock.elapsed() < 100, "say() waited for the engine");
        QVERIFY(speech.speaking());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 10000);
        QVERIFY(!speech.available());
        QVERIFY(!speech.speaking());
        // Known now: at once, without asking again.
        speech.say(u"再说一遍"_s);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 3, 100);
    }
};

QTEST_GUILESS_MAIN(TestQtSpeech)
#include "tst_qt_speech.moc"
