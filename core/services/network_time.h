// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// One time server's answer: how far this computer's clock is behind the server's.
struct ServerAnswer {
    enum class Kind { Answered, Silent, Failed };
    QString server;  // as the list names it
    QString address; // the address asked, when the name was found
    Kind kind = Kind::Silent;
    qint64 offsetUs = 0;   // positive: this computer's clock is slow
    qint64 accuracyUs = 0; // the server's time lies within offset ± accuracy (NTP's distance)
    QString why;           // Failed: what went wrong, in Chinese
};

// Measures this computer's clock against time servers, asking them all at once.
class NetworkTime {
public:
    virtual ~NetworkTime() = default;
    // How long the servers are given, all together.
    static constexpr int kTimeLimitMs = 3000;
    // servers: the list's lines ("ntp.aliyun.com", "127.0.0.1:1123"). done gets one answer a
    // server, in the list's order, within the time limit; it is not called once context is gone.
    virtual void measure(const QStringList& servers, QObject* context,
                         std::function<void(const QList<ServerAnswer>&)> done) = 0;
};
