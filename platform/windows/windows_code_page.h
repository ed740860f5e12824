// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include "core/services/code_page.h"

// Windows' own converters: code page 54936 (GB18030), or 936 (GBK) where 54936 is missing, as
// under Wine.
class WindowsCodePage final : public CodePage {
public:
    bool available() const override;
    QString decodeSequence(QByteArrayView sequence) const override;
    QByteArray encode(QStringView text) const override;
};
