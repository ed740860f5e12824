// SPDX-License-Identifier: GPL-3.0-or-later
#include "nettime/sntp_client.h"

#include "nettime/sntp_packet.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QUrl>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

qint64 wallUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

QString SntpServer::lookupName() const
{
    return QString::fromLatin1(QUrl::toAce(host));
}

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
    // A name in Chinese (例子.中国) is looked up in its ASCII form.
    static const QString allowed = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_:"_s;
    const QString ascii = server.lookupName();
    bool good = !ascii.isEmpty();
    for (const QChar c : ascii)
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

qint64 SntpQuery::nowUs() const
{
    return m_startUs + m_steady.nsecsElapsed() / 1000;
}

void SntpQuery::start()
{
    m_startUs = wallUs();
    m_steady.start();
    m_limit.start();
    for (int i = 0; i < m_attempts.size(); ++i) {
        const QHostAddress literal(m_attempts[i].server.host);
        if (!literal.isNull()) {
            addressesFound(i, {literal});
            continue;
        }
        m_attempts[i].lookupId =
            QHostInfo::lookupHost(m_attempts[i].server.lookupName(), this, [this, i](const QHostInfo& info) {
                m_attempts[i].lookupId = -1;
                if (m_finished)
                    return;
                if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
                    fail(i, u"找不到这个服务器"_s);
                    return;
                }
                addressesFound(i, info.addresses());
            });
    }
    if (m_attempts.isEmpty())
        finish();
}

void SntpQuery::addressesFound(int index, const QList<QHostAddress>& found)
{
    // One address of each family, IPv4 first: many home networks have an IPv6 address but no
    // IPv6 route, and an IPv6-only one (NAT64) has no IPv4 route at all.
    QList<QHostAddress>& chosen = m_attempts[index].addresses;
    for (const auto family : {QAbstractSocket::IPv4Protocol, QAbstractSocket::IPv6Protocol}) {
        for (const QHostAddress& a : found) {
            if (a.protocol() == family) {
                chosen << a;
                break;
            }
        }
    }
    if (chosen.isEmpty()) {
        fail(index, u"找不到这个服务器"_s);
        return;
    }
    send(index);
}

void SntpQuery::send(int index)
{
    Attempt& a = m_attempts[index];
    if (a.done || m_finished || a.requests.size() == 2)
        return;
    const int which = int(a.requests.size());
    Request r;
    r.address = a.addresses[which % a.addresses.size()];
    r.socket = new QUdpSocket(this);
    connect(r.socket, &QUdpSocket::readyRead, this, [this, index, which] { receive(index, which); });
    connect(r.socket, &QUdpSocket::errorOccurred, this, [this, index, which](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::TemporaryError)
            return;
        requestFailed(index, which,
                      e == QAbstractSocket::ConnectionRefusedError
                          ? u"服务器拒绝连接（端口上没有时间服务）"_s
                          : m_attempts[index].requests[which].socket->errorString());
    });
    r.socket->connectToHost(r.address, a.server.port);
    r.sentUs = nowUs();
    r.origin = Sntp::origin(r.sentUs);
    a.requests << r;
    if (r.socket->write(Sntp::request(r.origin)) != Sntp::kPacketSize) {
        requestFailed(index, which, u"无法发送请求：%1"_s.arg(r.socket->errorString()));
        return;
    }
    ++m_sent;
    if (which == 0) {
        QTimer::singleShot(kRetryAfterMs, this, [this, index] { send(index); });
    }
}

void SntpQuery::requestFailed(int index, int request, const QString& why)
{
    Attempt& a = m_attempts[index];
    if (a.done || m_finished || a.requests[request].failed)
        return;
    a.requests[request].failed = true;
    a.requests[request].socket->abort();
    // The other family at once, where there is one not tried yet.
    if (a.requests.size() == 1 && a.addresses.size() > 1) {
        send(index);
        return;
    }
    for (const Request& r : std::as_const(a.requests)) {
        if (!r.failed)
            return; // still waiting for that one
    }
    fail(index, why);
}

void SntpQuery::receive(int index, int request)
{
    Attempt& a = m_attempts[index];
    Request& r = a.requests[request];
    // Read before asking whether there is anything: a peek would swallow the refusal that the
    // system reports when nothing listens on the server's port.
    do {
        const QNetworkDatagram datagram = r.socket->receiveDatagram(512);
        if (!datagram.isValid())
            return; // an error comes through errorOccurred
        const qint64 arrivedUs = nowUs();
        if (a.done || m_finished)
            continue;
        const Sntp::Reply reply = Sntp::parseReply(datagram.data(), r.origin);
        if (reply.status == Sntp::Reply::Status::NotOurs)
            continue;
        if (reply.status == Sntp::Reply::Status::Bad) {
            fail(index, reply.error);
            return;
        }
        const Sntp::Sample sample =
            Sntp::measure(r.sentUs, Sntp::toUnixUs(reply.receive), Sntp::toUnixUs(reply.transmit), arrivedUs);
        // The server claims to have held the request longer than it was away: its times are
        // not to be believed.
        if (sample.roundTripUs < 0)
            continue;
        a.ok = true;
        a.offsetUs = sample.offsetUs;
        // NTP's distance: half the round trip, and what the server is unsure of itself.
        a.accuracyUs = (sample.roundTripUs + 1) / 2 + reply.rootDelayUs / 2 + reply.rootDispersionUs;
        a.answeredFrom = r.address;
        a.done = true;
        finishIfDone();
        return;
    } while (r.socket->hasPendingDatagrams());
}

void SntpQuery::fail(int index, const QString& error)
{
    Attempt& a = m_attempts[index];
    if (a.done || m_finished)
        return;
    a.done = true;
    a.error = error;
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
        // With the port where it is not NTP's own: two servers on one address count apart.
        if (const QHostAddress from = a.ok ? a.answeredFrom : a.addresses.value(0); !from.isNull())
            answer.address = SntpServer{from.toString(), a.server.port}.text();
        if (a.ok) {
            answer.kind = ServerAnswer::Kind::Answered;
            answer.offsetUs = a.offsetUs;
            answer.accuracyUs = a.accuracyUs;
        } else if (a.done) {
            answer.kind = ServerAnswer::Kind::Failed;
            answer.why = a.error;
        } else {
            // Silent: no answer, or no address, in the time given.
            answer.kind = ServerAnswer::Kind::Silent;
            answer.why = (a.requests.isEmpty() ? u"%1 秒内找不到这个服务器"_s : u"%1 秒内没有应答"_s)
                             .arg(double(m_limit.interval()) / 1000.0);
        }
        answers << answer;
    }
    for (Attempt& a : m_attempts) {
        for (Request& r : a.requests)
            r.socket->abort();
    }
    emit finished(answers);
}

void SntpNetworkTime::measure(const QStringList& servers, QObject* context,
                              std::function<void(const QList<ServerAnswer>&)> done)
{
    QList<ServerAnswer> answers; // the list's order; the asked ones filled in when they are in
    QList<SntpServer> asked;
    QList<qsizetype> where; // for each answer: its server among the asked, or -1
    for (const QString& line : servers) {
        if (line.trimmed().isEmpty())
            continue;
        ServerAnswer answer;
        answer.server = line.trimmed();
        QString error;
        qsizetype at = -1;
        if (const std::optional<SntpServer> server = parseSntpServer(line, &error)) {
            const QString text = server->text().toLower();
            for (qsizetype i = 0; i < asked.size() && at < 0; ++i) {
                if (asked[i].text().toLower() == text)
                    at = i; // listed twice: asked once
            }
            if (at < 0 && asked.size() < kMostServers) {
                at = asked.size();
                asked << *server;
            } else if (at < 0) {
                answer.kind = ServerAnswer::Kind::Failed;
                answer.why = u"列表超过 %1 台服务器，这台没有询问"_s.arg(kMostServers);
            }
        } else {
            answer.kind = ServerAnswer::Kind::Failed;
            answer.why = error;
        }
        where << at;
        answers << answer;
    }
    auto* query = new SntpQuery(asked, kTimeLimitMs, context);
    QObject::connect(query, &SntpQuery::finished, context,
                     [query, answers, where, done](const QList<ServerAnswer>& got) mutable {
                         query->deleteLater();
                         for (qsizetype i = 0; i < answers.size(); ++i) {
                             if (where[i] >= 0) {
                                 const QString listed = answers[i].server;
                                 answers[i] = got[where[i]];
                                 answers[i].server = listed;
                             }
                         }
                         done(answers);
                     });
    query->start();
}
