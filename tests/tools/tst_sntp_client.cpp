// SPDX-License-Identifier: GPL-3.0-or-later
// The SNTP client: its packets, and a query against a time server of the test's own on the
// loopback, which answers each request as the row says.
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

enum class Answer {
    AheadBy1500ms,
    FirstLost,         // the first request gets nothing; the retry is answered
    SpoofedShortFirst, // a reply with another origin and a short datagram come before the real one
    ClientMode,
    ZeroTransmit,
    KissOfDeath,
    NegativeRoundTrip, // the server claims to have held the request 10 s
    Silence,
};

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// A reply carrying origin as a server whose clock is 1.5 s ahead of ours would send it, with
// 10 ms of root dispersion (NTP's short format), spoiled as asked.
QByteArray reply(quint64 origin, Answer answer)
{
    QByteArray d(Sntp::kPacketSize, '\0');
    d[0] = char(answer == Answer::ClientMode ? 0x23 : 0x24); // version 4, mode 3 or 4
    d[1] = char(answer == Answer::KissOfDeath ? 0 : 2);
    if (answer == Answer::KissOfDeath)
        d.replace(12, 4, "RATE");
    qToBigEndian(quint32(655), d.data() + 8); // 10 ms
    const quint64 serverTime = Sntp::toNtp(nowUs() + 1'500'000);
    qToBigEndian(origin, d.data() + 24);
    qToBigEndian(answer == Answer::NegativeRoundTrip ? Sntp::toNtp(nowUs() - 8'500'000) : serverTime,
                 d.data() + 32);
    qToBigEndian(answer == Answer::ZeroTransmit ? quint64(0) : serverTime, d.data() + 40);
    return d;
}

quint64 originOf(const QByteArray& request)
{
    return qFromBigEndian<quint64>(request.constData() + 40);
}

// A good reply's bytes with one byte or more changed.
QByteArray spoiled(int at, QByteArray bytes)
{
    QByteArray d = reply(42, Answer::AheadBy1500ms);
    d.replace(at, bytes.size(), bytes);
    return d;
}

} // namespace

class TestSntpClient : public QObject {
    Q_OBJECT

private slots:
    // Each datagram against the request whose origin was 42: the origin is looked at first.
    void packets_data()
    {
        using Status = Sntp::Reply::Status;
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("error");
        QByteArray other(8, '\0');
        other[7] = 43;
        QTest::newRow("good") << reply(42, Answer::AheadBy1500ms) << Status::Good << QString();
        QTest::newRow("another origin") << spoiled(24, other) << Status::NotOurs << QString();
        QTest::newRow("short, origin unseen")
            << reply(42, Answer::AheadBy1500ms).left(20) << Status::NotOurs << QString();
        QTest::newRow("leap 3") << spoiled(0, QByteArray(1, char(0xE4))) << Status::Bad
                                << u"服务器自己的时钟未同步"_s;
        QTest::newRow("stratum 16") << spoiled(1, QByteArray(1, char(16))) << Status::Bad
                                    << u"服务器自己的时钟未同步"_s;
        QTest::newRow("stratum 0, RATE") << reply(42, Answer::KissOfDeath) << Status::Bad
                                         << u"服务器拒绝服务（请求太频繁，RATE），这次不再问它"_s;
        QTest::newRow("version 2") << spoiled(0, QByteArray(1, char(0x14))) << Status::Bad
                                   << u"不支持的协议版本 2"_s;
        QTest::newRow("client mode") << reply(42, Answer::ClientMode) << Status::Bad
                                     << u"应答的模式为 3，不是服务器应答（4）"_s;
        QTest::newRow("root dispersion 2 s")
            << spoiled(8, QByteArray("\x00\x02\x00\x00", 4)) << Status::Bad << u"服务器自己的时钟误差太大"_s;
    }
    void packets()
    {
        QFETCH(QByteArray, datagram);
        const Sntp::Reply r = Sntp::parseReply(datagram, 42);
        QTEST(r.status, "status");
        QTEST(r.error, "error");
    }

    // Timestamps wrap in 2036: one with its top bit clear is after the wrap.
    void era_data()
    {
        QTest::addColumn<QDateTime>("at");
        QTest::newRow("2026") << QDateTime(QDate(2026, 12, 9), QTime(9, 20), Qt::UTC);
        QTest::newRow("just before the wrap") << QDateTime(QDate(2036, 2, 7), QTime(6, 28, 15), Qt::UTC);
        QTest::newRow("just after") << QDateTime(QDate(2036, 2, 7), QTime(6, 28, 17), Qt::UTC);
    }
    void era()
    {
        QFETCH(QDateTime, at);
        const qint64 us = at.toMSecsSinceEpoch() * 1000 + 250'000;
        QCOMPARE(Sntp::toUnixUs(Sntp::toNtp(us)), us);
        // The random part of an origin is in the fraction only.
        QCOMPARE(Sntp::origin(us) >> 32, Sntp::toNtp(us) >> 32);
    }

    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("limitMs");
        QTest::addColumn<QString>("error"); // empty: a good measurement
        QTest::addColumn<int>("requests");  // sent in all
        QTest::newRow("known offset") << Answer::AheadBy1500ms << 300 << QString() << 1;
        QTest::newRow("first lost, the retry answered") << Answer::FirstLost << 2000 << QString() << 2;
        QTest::newRow("spoofed and short before the answer")
            << Answer::SpoofedShortFirst << 300 << QString() << 1;
        QTest::newRow("wrong mode") << Answer::ClientMode << 300 << u"应答的模式为 3，不是服务器应答（4）"_s
                                    << 1;
        QTest::newRow("zero transmit time") << Answer::ZeroTransmit << 300 << u"应答的发送时间为零"_s << 1;
        QTest::newRow("kiss-of-death ends the asking")
            << Answer::KissOfDeath << 2000 << u"服务器拒绝服务（请求太频繁，RATE），这次不再问它"_s << 1;
        QTest::newRow("negative round trip")
            << Answer::NegativeRoundTrip << 300 << u"0.3 秒内没有应答"_s << 1;
        QTest::newRow("silence: one retry") << Answer::Silence << 2000 << u"2 秒内没有应答"_s << 2;
    }
    void answers()
    {
        QFETCH(Answer, answer);
        QFETCH(int, limitMs);
        QFETCH(QString, error);
        QUdpSocket server;
        QVERIFY(server.bind(QHostAddress::LocalHost, 0));
        int received = 0;
        connect(&server, &QUdpSocket::readyRead, this, [&] {
            while (server.hasPendingDatagrams()) {
                const QNetworkDatagram request = server.receiveDatagram();
                const quint64 origin = originOf(request.data());
                if (answer == Answer::Silence || (answer == Answer::FirstLost && received++ == 0))
                    continue;
                if (answer == Answer::SpoofedShortFirst) {
                    server.writeDatagram(request.makeReply(reply(origin + 1, Answer::AheadBy1500ms)));
                    server.writeDatagram(request.makeReply(reply(origin, Answer::AheadBy1500ms).left(20)));
                }
                server.writeDatagram(request.makeReply(reply(origin, answer)));
            }
        });
        const QString name = u"127.0.0.1:%1"_s.arg(server.localPort());
        QString parseError;
        const std::optional<SntpServer> parsed = parseSntpServer(name, &parseError);
        QVERIFY2(parsed, qPrintable(parseError));

        SntpQuery query({*parsed}, limitMs);
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
        QTEST(query.requestsSent(), "requests");
        if (error.isEmpty()) {
            QVERIFY2(result->kind == ServerAnswer::Kind::Answered, qPrintable(result->why));
            QVERIFY2(qAbs(result->offsetUs - 1'500'000) < 50'000,
                     qPrintable(QString::number(result->offsetUs)));
            // Half the round trip and the server's own 10 ms of dispersion.
            QVERIFY2(result->accuracyUs >= 10'000 && result->accuracyUs < 60'000,
                     qPrintable(QString::number(result->accuracyUs)));
        } else {
            QCOMPARE(result->kind,
                     error.endsWith(u"没有应答"_s) ? ServerAnswer::Kind::Silent : ServerAnswer::Kind::Failed);
            QCOMPARE(result->why, error);
        }
    }

    // Names: a Chinese one is taken in its ASCII form; a list with one server twice and more
    // than sixteen asks each once and says which it did not ask.
    void names()
    {
        QString error;
        const std::optional<SntpServer> idn = parseSntpServer(u"例子.中国:1123"_s, &error);
        QVERIFY2(idn, qPrintable(error));
        QCOMPARE(idn->lookupName(), u"xn--fsqu00a.xn--fiqs8s"_s);
        QStringList list{u"127.0.0.1:9"_s, u"127.0.0.1:9"_s};
        for (int i = 0; i < 16; ++i)
            list << u"127.0.0.2:%1"_s.arg(100 + i);
        SntpNetworkTime network;
        QList<ServerAnswer> answers;
        QEventLoop loop;
        network.measure(list, &loop, [&](const QList<ServerAnswer>& got) {
            answers = got;
            loop.quit();
        });
        loop.exec();
        QCOMPARE(answers.size(), 18);
        QCOMPARE(answers[1].server, u"127.0.0.1:9"_s);
        QCOMPARE(answers[1].why, answers[0].why);
        QCOMPARE(answers[16].why, answers[0].why); // the sixteenth asked: refused, as nothing listens
        QCOMPARE(answers[17].why, u"列表超过 16 台服务器，这台没有询问"_s);
    }
};

QTEST_GUILESS_MAIN(TestSntpClient)
#include "tst_sntp_client.moc"
