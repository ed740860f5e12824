// SPDX-License-Identifier: GPL-3.0-or-later
#include "nettime/sntp_client.h"

#include "nettime/sntp_packet.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

qint64 nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

QString SntpServer::text() const
{
    const QString h = host.contains(u':') ? u'[' + host + u']' : host;
    return port == Sntp::kPort ? h : h + u':' + QString::number(port);
}

std::optional<SntpServer> parseSntpServer(const QString& line, QString* error)
{
    const QString s = line.normalized(QString::NormalizationForm_KC).trimmed();
    SntpServer server;
    QString portText;
    if (s.startsWith(u'[')) {
        const qsizetype close = s.indexOf(u']');
        if (close < 0) {
            *error = u"“%1”缺少“]”"_s.arg(s);
            return std::nullopt;
        }
        server.host = s.mid(1, close - 1);
        const QString rest = s.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':')) {
            *error = u"“%1”不是服务器地址"_s.arg(s);
            return std::nullopt;
        }
        portText = rest.mid(1);
    } else if (s.count(u':') == 1) {
        server.host = s.section(u':', 0, 0);
        portText = s.section(u':', 1);
    } else {
        server.host = s; // a name, or a bare IPv6 address
    }
    if (!portText.isEmpty() || s.endsWith(u':')) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            *error = u"“%1”的端口不对"_s.arg(s);
            return std::nullopt;
        }
        server.port = quint16(port);
    }
    static const QString allowed = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_:"_s;
    bool good = !server.host.isEmpty();
    for (const QChar c : server.host)
        good = good && allowed.contains(c);
    if (!good) {
        *error = u"“%1”不是服务器地址"_s.arg(s);
        return std::nullopt;
    }
    return server;
}

SntpQuery::SntpQuery(const QList<SntpServer>& servers, int timeLimitMs, QObject* parent) : QObject(parent)
{
    for (const SntpServer& s : servers) {
        Attempt a;
        a.server = s;
        m_attempts.append(a);
    }
    m_limit.setSingleShot(true);
    m_limit.setInterval(timeLimitMs);
    connect(&m_limit, &QTimer::timeout, this, &SntpQuery::finish);
}

SntpQuery::~SntpQuery()
{
    for (const Attempt& a : std::as_const(m_attempts)) {
        if (a.lookupId >= 0)
            QHostInfo::abortHostLookup(a.lookupId);
    }
}

void SntpQuery::start()
{
    m_limit.start();
    for (int i = 0; i < m_attempts.size(); ++i) {
        const QHostAddress literal(m_attempts[i].server.host);
        if (!literal.isNull()) {
            send(i, literal);
            continue;
        }
        m_attempts[i].lookupId =
            QHostInfo::lookupHost(m_attempts[i].server.host, this, [this, i](const QHostInfo& info) {
                m_attempts[i].lookupId = -1;
                if (m_finished)
                    return;
                const QList<QHostAddress> addresses = info.addresses();
                if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
                    fail(i, u"找不到这个服务器"_s);
                    return;
                }
                // IPv4 first: many home networks have an IPv6 address but no IPv6 route.
                QHostAddress chosen = addresses.first();
                for (const QHostAddress& a : addresses) {
                    if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                        chosen = a;
                        break;
                    }
                }
                send(i, chosen);
            });
    }
    if (m_attempts.isEmpty())
        finish();
}

void SntpQuery::send(int index, const QHostAddress& address)
{
    Attempt& a = m_attempts[index];
    a.address = address;
    a.socket = new QUdpSocket(this);
    connect(a.socket, &QUdpSocket::readyRead, this, [this, index] { receive(index); });
    connect(a.socket, &QUdpSocket::errorOccurred, this, [this, index](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::TemporaryError)
            return;
        if (e == QAbstractSocket::ConnectionRefusedError)
            fail(index, u"服务器拒绝连接（端口上没有时间服务）"_s);
        else
            fail(index, m_attempts[index].socket->errorString());
    });
    a.socket->connectToHost(address, a.server.port);
    request(index);
}

void SntpQuery::request(int index)
{
    Attempt& a = m_attempts[index];
    a.sentUs = nowUs();
    a.sentTransmit = Sntp::toNtp(a.sentUs);
    if (a.socket->write(Sntp::request(a.sentTransmit)) != Sntp::kPacketSize)
        fail(index, u"无法发送请求：%1"_s.arg(a.socket->errorString()));
}

void SntpQuery::receive(int index)
{
    Attempt& a = m_attempts[index];
    // Read before asking whether there is anything: a peek would swallow the refusal that the
    // system reports when nothing listens on the server's port.
    do {
        const QNetworkDatagram datagram = a.socket->receiveDatagram(512);
        if (!datagram.isValid())
            return; // an error comes through errorOccurred
        const qint64 arrivedUs = nowUs();
        if (a.done || m_finished)
            continue;
        const Sntp::Reply reply = Sntp::parseReply(datagram.data(), a.sentTransmit);
        if (reply.status == Sntp::Reply::Status::NotOurs)
            continue;
        if (reply.status == Sntp::Reply::Status::Bad) {
            fail(index, reply.error);
            return;
        }
        const Sntp::Sample sample =
            Sntp::measure(a.sentUs, Sntp::toUnixUs(reply.receive), Sntp::toUnixUs(reply.transmit), arrivedUs);
        // The shortest round trip is the truest: a reply that waited in a busy event loop
        // (the program starting, say) is less so, and its offset is off by half the wait.
        if (!a.ok || sample.roundTripUs < a.roundTripUs) {
            a.offsetUs = sample.offsetUs;
            a.roundTripUs = qMax<qint64>(sample.roundTripUs, 0);
        }
        a.ok = true;
        if (++a.samples < kSamples) {
            request(index);
            return;
        }
        a.done = true;
        finishIfDone();
        return;
    } while (a.socket->hasPendingDatagrams());
}

void SntpQuery::fail(int index, const QString& error)
{
    Attempt& a = m_attempts[index];
    if (a.done || m_finished)
        return;
    a.done = true;
    a.error = error; // a sample already in still counts
    finishIfDone();
}

void SntpQuery::finishIfDone()
{
    for (const Attempt& a : std::as_const(m_attempts)) {
        if (!a.done)
            return;
    }
    finish();
}

void SntpQuery::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_limit.stop();
    QList<ServerAnswer> answers;
    for (const Attempt& a : std::as_const(m_attempts)) {
        ServerAnswer answer;
        answer.server = a.server.text();
        answer.address = a.address.toString();
        if (a.ok) {
            answer.kind = ServerAnswer::Kind::Answered;
            answer.offsetUs = a.offsetUs;
            answer.accuracyUs = (a.roundTripUs + 1) / 2;
        } else if (a.done) {
            answer.kind = ServerAnswer::Kind::Failed;
            answer.why = a.error;
        } else {
            // Silent: no answer, or no address, in the time given.
            answer.kind = ServerAnswer::Kind::Silent;
            answer.why = (a.socket ? u"%1 秒内没有应答"_s : u"%1 秒内找不到这个服务器"_s)
                             .arg(double(m_limit.interval()) / 1000.0);
        }
        answers << answer;
    }
    for (Attempt& a : m_attempts) {
        if (a.socket)
            a.socket->abort();
    }
    emit finished(answers);
}

void SntpNetworkTime::measure(const QStringList& servers, QObject* context,
                              std::function<void(const QList<ServerAnswer>&)> done)
{
    // Enough, and a pasted page does not become a flood.
    constexpr int kMostServers = 16;
    QList<ServerAnswer> answers; // the list's order; the asked ones filled in when they are in
    QList<SntpServer> asked;
    QList<qsizetype> where;
    for (const QString& line : servers) {
        if (line.trimmed().isEmpty())
            continue;
        if (asked.size() == kMostServers)
            break;
        ServerAnswer answer;
        answer.server = line.trimmed();
        QString error;
        if (const std::optional<SntpServer> server = parseSntpServer(line, &error)) {
            where << answers.size();
            asked << *server;
        } else {
            answer.kind = ServerAnswer::Kind::Failed;
            answer.why = error;
        }
        answers << answer;
    }
    auto* query = new SntpQuery(asked, kTimeLimitMs, context);
    QObject::connect(query, &SntpQuery::finished, context,
                     [query, answers, where, done](const QList<ServerAnswer>& got) mutable {
                         query->deleteLater();
                         for (qsizetype i = 0; i < got.size(); ++i)
                             answers[where[i]] = got[i];
                         done(answers);
                     });
    query->start();
}
