// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The system's GB18030 converter (GBK where the system has only that), one character at a
// time; the byte structure is walked in core/settings/gbk_text.cpp. The platform gives the
// system's (Qt's own on Linux).
class CodePage {
public:
    virtual ~CodePage() = default;
    // False when the system has no converter (the settings file then cannot be read or written).
    virtual bool available() const = 0;
    // One well-formed two- or four-byte sequence to its character; empty when it maps to none.
    virtual QString decodeSequence(QByteArrayView sequence) const = 0;
    // Text without the euro sign, which the walk writes itself.
    virtual QByteArray encode(QStringView text) const = 0;
};

// Qt's own converter, where Qt has one for GB18030 (built with ICU, as on Debian).
class QtCodePage final : public CodePage {
public:
    bool available() const override;
    QString decodeSequence(QByteArrayView sequence) const override;
    QByteArray encode(QStringView text) const override;
};
