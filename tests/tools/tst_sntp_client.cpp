// SPDX-License-Identifier: GPL-3.0-or-later
// The SNTP client against a time server of the test's own on the loopback, which answers each
// request as the row says.
#include "nettime/sntp_client.h"
#include "nettime/sntp_packet.h"

#include <QEventLoop>
#include <QNetworkDatagram>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

enum class Answer { AheadBy1500ms, FirstLate, ShortPacket, ClientMode, ZeroTransmit, KissOfDeath, Silence };

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// A reply to request as a server whose clock is 1.5 s ahead of ours would send it, spoiled
// as asked.
QByteArray reply(const QByteArray& request, Answer answer)
{
    QByteArray d(Sntp::kPacketSize, '\0');
    d[0] = char(answer == Answer::ClientMode ? 0x23 : 0x24); // version 4, mode 3 or 4
    d[1] = char(answer == Answer::KissOfDeath ? 0 : 2);
    if (answer == Answer::KissOfDeath)
        d.replace(12, 4, "RATE");
    const quint64 serverTime = Sntp::toNtp(nowUs() + 1'500'000);
    qToBigEndian(qFromBigEndian<quint64>(request.constData() + 40), d.data() + 24); // originate
    qToBigEndian(serverTime, d.data() + 32);
    qToBigEndian(answer == Answer::ZeroTransmit ? quint64(0) : serverTime, d.data() + 40);
    return answer == Answer::ShortPacket ? d.left(20) : d;
}

} // namespace

class TestSntpClient : public QObject {
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("error"); // empty: a good measurement
        QTest::newRow("known offset") << Answer::AheadBy1500ms << QString();
        // The first reply held up 200 ms, the next ones not: the quick one counts.
        QTest::newRow("first reply late") << Answer::FirstLate << QString();
        QTest::newRow("short packet") << Answer::ShortPacket << u"应答太短（20 字节，应为 48 字节）"_s;
        QTest::newRow("wrong mode") << Answer::ClientMode << u"应答的模式为 3，不是服务器应答（4）"_s;
        QTest::newRow("zero transmit time") << Answer::ZeroTransmit << u"应答的发送时间为零"_s;
        QTest::newRow("kiss-of-death") << Answer::KissOfDeath << u"服务器拒绝服务（请求太频繁，RATE）"_s;
        QTest::newRow("silence") << Answer::Silence << u"0.3 秒内没有应答"_s;
    }
    void answers()
    {
        QFETCH(Answer, answer);
        QFETCH(QString, error);
        QUdpSocket server;
        QVERIFY(server.bind(QHostAddress::LocalHost, 0));
        int requests = 0;
        connect(&server, &QUdpSocket::readyRead, this, [&] {
            while (server.hasPendingDatagrams()) {
                const QNetworkDatagram request = server.receiveDatagram();
                if (answer == Answer::Silence)
                    continue;
                if (answer == Answer::FirstLate && requests++ == 0) {
                    QTimer::singleShot(200, &server, [&server, request] {
                        server.writeDatagram(request.makeReply(reply(request.data(), Answer::AheadBy1500ms)));
                    });
                    continue;
                }
                server.writeDatagram(request.makeReply(reply(request.data(), answer)));
            }
        });
        const QString name = u"127.0.0.1:%1"_s.arg(server.localPort());
        QString parseError;
        const std::optional<SntpServer> parsed = parseSntpServer(name, &parseError);
        QVERIFY2(parsed, qPrintable(parseError));

        SntpQuery query({*parsed}, answer == Answer::FirstLate ? 2000 : 300);
        std::optional<ServerAnswer> result;
        QEventLoop loop;
        connect(&query, &SntpQuery::finished, &loop, [&](const QList<ServerAnswer>& answers) {
            result = answers.value(0);
            loop.quit();
        });
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit); // the query's own limit comes first
        query.start();
        loop.exec();

        QVERIFY2(result, "the query never finished");
        QCOMPARE(result->server, name);
        if (error.isEmpty()) {
            QVERIFY2(result->kind == ServerAnswer::Kind::Answered, qPrintable(result->why));
            QVERIFY2(qAbs(result->offsetUs - 1'500'000) < 50'000,
                     qPrintable(QString::number(result->offsetUs)));
            QVERIFY2(result->accuracyUs >= 0 && result->accuracyUs < 50'000,
                     qPrintable(QString::number(result->accuracyUs)));
        } else {
            QCOMPARE(result->kind,
                     answer == Answer::Silence ? ServerAnswer::Kind::Silent : ServerAnswer::Kind::Failed);
            QCOMPARE(result->why, error);
        }
    }
};

QTEST_GUILESS_MAIN(TestSntpClient)
#include "tst_sntp_client.moc"
