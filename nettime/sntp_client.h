// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QUdpSocket;

// A time server as the user writes it: "ntp.aliyun.com", "ntp.aliyun.com:123", "127.0.0.1:1123",
// "[::1]:123".
struct SntpServer {
    QString host;
    quint16 port = 123;
    QString text() const;       // as written back into the list
    QString lookupName() const; // the host as the name service takes it (ASCII, IDNA)
};

// nullopt, with *error in Chinese, for a line that names no server.
std::optional<SntpServer> parseSntpServer(const QString& line, QString* error);

// Asks every server at once and reports each one's answer, or why none came, within the time
// limit. Nothing here blocks: names are looked up in the background, to IPv4 and IPv6 addresses
// both, and a server that says nothing is given up on when the time is out. Polite to public
// servers, which rate-limit: one request each, and one retry after kRetryAfterMs of silence (to
// the name's other address family when it has one); a RATE kiss-of-death ends the asking. Times
// are the computer's clock read once at the start plus the steady clock since, so a step of the
// computer's clock during the query moves no sample and no round trip.
class SntpQuery : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryAfterMs = 1000;

    SntpQuery(const QList<SntpServer>& servers, int timeLimitMs, QObject* parent = nullptr);
    ~SntpQuery() override;

    void start();
    // Requests put on the wire so far, to every server.
    int requestsSent() const { return m_sent; }

signals:
    void finished(const QList<ServerAnswer>& answers); // in the servers' order

private:
    struct Request {
        QUdpSocket* socket = nullptr;
        QHostAddress address;
        quint64 origin = 0;
        qint64 sentUs = 0; // on the query's time line
        bool failed = false;
    };
    struct Attempt {
        SntpServer server;
        QList<QHostAddress> addresses; // at most one of each family, IPv4 first
        QList<Request> requests;       // the request and its retry
        int lookupId = -1;
        bool done = false;
        bool ok = false; // a good answer is in
        qint64 offsetUs = 0;
        qint64 accuracyUs = 0;
        QHostAddress answeredFrom;
        QString error;
    };

    qint64 nowUs() const;
    void addressesFound(int index, const QList<QHostAddress>& found);
    void send(int index);
    void receive(int index, int request);
    void requestFailed(int index, int request, const QString& why);
    void fail(int index, const QString& error);
    void finishIfDone();
    void finish();

    QList<Attempt> m_attempts;
    QTimer m_limit;
    QElapsedTimer m_steady;
    qint64 m_startUs = 0; // the computer's clock when the query started
    int m_sent = 0;
    bool m_finished = false;
};

// Network time by SNTP: the lines of the list parsed (a line that names no server is answered
// as failed, with why), the same server listed twice asked once, the first kMostServers asked
// and the rest answered as not asked.
class SntpNetworkTime final : public NetworkTime {
public:
    // Enough, and a pasted page does not become a flood.
    static constexpr int kMostServers = 16;
    void measure(const QStringList& servers, QObject* context,
                 std::function<void(const QList<ServerAnswer>&)> done) override;
};
