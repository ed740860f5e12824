// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Simple Network Time Protocol (RFC 4330), the client's side: one 48-byte request, one reply.
// Times are microseconds since 1970 (UTC) on our side, 64-bit NTP timestamps on the wire.
namespace Sntp {

inline constexpr int kPacketSize = 48;
inline constexpr quint16 kPort = 123;

// NTP timestamps count from 1900 in 32 bits of seconds and wrap in 2036; a timestamp whose top
// bit is clear is read as after the wrap (good until 2104).
quint64 toNtp(qint64 unixUs);
qint64 toUnixUs(quint64 ntp);

// The transmit timestamp of a request: its seconds, and 32 random bits where the fraction
// would be (RFC 4330), so that a forger cannot guess what the reply must carry back. The
// request's real send time is kept on our side.
quint64 origin(qint64 unixUs);

// A version-4 client request carrying transmit, which the server sends back as the originate
// timestamp.
QByteArray request(quint64 transmit);

struct Reply {
    enum class Status {
        Good,
        NotOurs, // no answer to this request (a forgery, a stray or a short datagram): ignore it
        Bad,     // the server answered, but unusably; error says why
    };
    Status status = Status::Bad;
    QString error;
    bool rateLimited = false;    // a RATE kiss-of-death: ask this server no more for now
    quint64 receive = 0;         // T2, when the server got the request
    quint64 transmit = 0;        // T3, when it answered
    qint64 rootDelayUs = 0;      // the server's own round trip to its reference
    qint64 rootDispersionUs = 0; // and how far its clock may be off it
};

// Checks a datagram against the request that carried sentTransmit; the origin first, so that
// nobody but the server can make a request fail.
Reply parseReply(const QByteArray& datagram, quint64 sentTransmit);

// How far the local clock is behind the server's (positive: it is slow), and the round trip
// less the server's own time, from the four timestamps in microseconds.
struct Sample {
    qint64 offsetUs;
    qint64 roundTripUs;
};
Sample measure(qint64 t1, qint64 t2, qint64 t3, qint64 t4);

} // namespace Sntp
