// SPDX-License-Identifier: GPL-3.0-or-later
#include "nettime/sntp_packet.h"

#include <QRandomGenerator>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace Sntp {

namespace {

constexpr qint64 kUnixMinusNtpSeconds = 2'208'988'800; // 1900-01-01 to 1970-01-01
constexpr qint64 kEra = qint64(1) << 32;

quint64 read64(const QByteArray& d, int at)
{
    return qFromBigEndian<quint64>(d.constData() + at);
}

// NTP's short format: 16 bits of seconds and 16 of fraction.
qint64 readShortUs(const QByteArray& d, int at)
{
    return qint64((quint64(qFromBigEndian<quint32>(d.constData() + at)) * 1'000'000) >> 16);
}

QString kissText(const QByteArray& code)
{
    if (code == "RATE")
        return u"请求太频繁"_s;
    if (code == "DENY" || code == "RSTR")
        return u"拒绝本机访问"_s;
    return u"暂停服务"_s;
}

} // namespace

quint64 toNtp(qint64 unixUs)
{
    const qint64 seconds = unixUs >= 0 ? unixUs / 1'000'000 : (unixUs - 999'999) / 1'000'000;
    const qint64 micros = unixUs - seconds * 1'000'000;
    const quint64 ntpSeconds = quint64(seconds + kUnixMinusNtpSeconds) & 0xFFFF'FFFFu;
    const quint64 fraction = (quint64(micros) << 32) / 1'000'000;
    return ntpSeconds << 32 | fraction;
}

qint64 toUnixUs(quint64 ntp)
{
    qint64 seconds = qint64(ntp >> 32);
    if (!(seconds & 0x8000'0000))
        seconds += kEra;
    const qint64 micros = qint64(((ntp & 0xFFFF'FFFFu) * 1'000'000 + (quint64(1) << 31)) >> 32);
    return (seconds - kUnixMinusNtpSeconds) * 1'000'000 + micros;
}

quint64 origin(qint64 unixUs)
{
    return (toNtp(unixUs) & ~quint64(0xFFFF'FFFFu)) | QRandomGenerator::system()->generate();
}

QByteArray request(quint64 transmit)
{
    QByteArray d(kPacketSize, '\0');
    d[0] = char(0x23); // no leap warning, version 4, mode 3 (client)
    qToBigEndian(transmit, d.data() + 40);
    return d;
}

Reply parseReply(const QByteArray& d, quint64 sentTransmit)
{
    Reply r;
    // Too short to carry our origin, or carrying another: not an answer to us.
    if (d.size() < kPacketSize || read64(d, 24) != sentTransmit) {
        r.status = Reply::Status::NotOurs;
        return r;
    }
    const auto first = quint8(d[0]);
    const int leap = first >> 6;
    const int version = (first >> 3) & 7;
    const int mode = first & 7;
    const auto stratum = quint8(d[1]);
    if (mode != 4) {
        r.error = u"应答的模式为 %1，不是服务器应答（4）"_s.arg(mode);
        return r;
    }
    if (version < 3 || version > 4) {
        r.error = u"不支持的协议版本 %1"_s.arg(version);
        return r;
    }
    if (stratum == 0) {
        const QByteArray code = d.mid(12, 4);
        bool printable = true;
        for (const char c : code)
            printable = printable && c >= 0x20 && c < 0x7f;
        r.rateLimited = code == "RATE";
        r.error = u"服务器拒绝服务（%1%2）"_s.arg(
            kissText(code), printable ? u"，"_s + QString::fromLatin1(code) : QString());
        if (r.rateLimited)
            r.error += u"，这次不再问它"_s;
        return r;
    }
    if (leap == 3 || stratum > 15) {
        r.error = u"服务器自己的时钟未同步"_s;
        return r;
    }
    r.rootDelayUs = readShortUs(d, 4);
    r.rootDispersionUs = readShortUs(d, 8);
    // NTP's own limit on a server's distance from its reference (MAXDIST).
    if (r.rootDelayUs / 2 + r.rootDispersionUs > 1'500'000) {
        r.error = u"服务器自己的时钟误差太大"_s;
        return r;
    }
    r.receive = read64(d, 32);
    r.transmit = read64(d, 40);
    if (r.transmit == 0) {
        r.error = u"应答的发送时间为零"_s;
        return r;
    }
    r.status = Reply::Status::Good;
    return r;
}

Sample measure(qint64 t1, qint64 t2, qint64 t3, qint64 t4)
{
    return {((t2 - t1) + (t3 - t4)) / 2, (t4 - t1) - (t3 - t2)};
}

} // namespace Sntp
