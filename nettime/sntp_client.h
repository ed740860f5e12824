// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

struct SntpResult {
    bool ok = false;
    qint64 offsetUs = 0; // positive: this computer's clock is behind
    qint64 roundTripUs = 0;
    QString server;  // as the user wrote it
    QString address; // the address that answered
    QString message; // when !ok: what each server did, in Chinese
};

// Asks every server at once and reports the answer with the shortest round trip, or why none
// came, within the time limit. Nothing here blocks: names are looked up in the background, and
// a server that says nothing is given up on when the time is out.
class SntpQuery : public QObject {
    Q_OBJECT
public:
    SntpQuery(const QList<SntpServer>& servers, int timeLimitMs, QObject* parent = nullptr);
    ~SntpQuery() override;

    void start();

signals:
    void finished(const SntpResult& result);

private:
    struct Attempt {
        SntpServer server;
        QUdpSocket* socket = nullptr;
        QHostAddress address;
        quint64 sentTransmit = 0;
        qint64 sentUs = 0;
        int lookupId = -1;
        bool done = false;
        bool ok = false;
        qint64 offsetUs = 0;
        qint64 roundTripUs = 0;
        QString error;
    };

    void send(int index, const QHostAddress& address);
    void receive(int index);
    void fail(int index, const QString& error);
    void finishIfDone();
    void finish();

    QList<Attempt> m_attempts;
    QTimer m_limit;
    bool m_finished = false;
};
