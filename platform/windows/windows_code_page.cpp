// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/windows_code_page.h"

#include <windows.h>

namespace {

UINT codePage()
{
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

} // namespace

bool WindowsCodePage::available() const
{
    return IsValidCodePage(54936) || IsValidCodePage(936);
}

QString WindowsCodePage::decodeSequence(QByteArrayView sequence) const
{
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(codePage(), MB_ERR_INVALID_CHARS, sequence.data(), int(sequence.size()), wide, 4);
    return n > 0 ? QString::fromWCharArray(wide, n) : QString();
}

QByteArray WindowsCodePage::encode(QStringView text) const
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
