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
    QString text() const; // as written back into the list
};

// nullopt, with *error in Chinese, for a line that names no server.
std::optional<SntpServer> parseSntpServer(const QString& line, QString* error);

// Asks every server at once and reports each one's answer, or why none came, within the time
// limit. Nothing here blocks: names are looked up in the background, and a server that says
// nothing is given up on when the time is out. A server that answers is asked again, kSamples
// requests one after the other, and the reply with the shortest round trip counts.
class SntpQuery : public QObject {
    Q_OBJECT
public:
    static constexpr int kSamples = 3;

    SntpQuery(const QList<SntpServer>& servers, int timeLimitMs, QObject* parent = nullptr);
    ~SntpQuery() override;

    void start();

signals:
    void finished(const QList<ServerAnswer>& answers); // in the servers' order

private:
    struct Attempt {
        SntpServer server;
        QUdpSocket* socket = nullptr;
        QHostAddress address;
        quint64 sentTransmit = 0;
        qint64 sentUs = 0;
        int lookupId = -1;
        bool done = false;
        bool ok = false; // a good sample is in
        int samples = 0;
        qint64 offsetUs = 0;
        qint64 roundTripUs = 0;
        QString error;
    };

    void send(int index, const QHostAddress& address);
    void request(int index);
    void receive(int index);
    void fail(int index, const QString& error);
    void finishIfDone();
    void finish();

    QList<Attempt> m_attempts;
    QTimer m_limit;
    bool m_finished = false;
};

// Network time by SNTP: the lines of the list parsed (a line that names no server is answered
// as failed, with why), the first 16 servers asked.
class SntpNetworkTime final : public NetworkTime {
public:
    void measure(const QStringList& servers, QObject* context,
                 std::function<void(const QList<ServerAnswer>&)> done) override;
};
