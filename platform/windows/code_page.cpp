// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page.h"

#include <windows.h>

// Windows' own converters: code page 54936 (GB18030), or 936 (GBK) where 54936 is missing, as
// under Wine.

namespace {

UINT codePage()
{
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

} // namespace

namespace CodePage {

bool available()
{
    return IsValidCodePage(54936) || IsValidCodePage(936);
}

QString decodeSequence(QByteArrayView sequence)
{
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(codePage(), MB_ERR_INVALID_CHARS, sequence.data(), int(sequence.size()), wide, 4);
    return n > 0 ? QString::fromWCharArray(wide, n) : QString();
}

QByteArray encode(QStringView text)
{
    if (text.isEmpty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    const int n = WideCharToMultiByte(codePage(), 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    QByteArray out(n, Qt::Uninitialized);
    WideCharToMultiByte(codePage(), 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace CodePage
