// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform_services.h"

// The system's own GB18030 converter, the one the program uses (Qt's on Linux, the system's code
// pages on Windows): the settings file's bytes are tested on it. Tests that use it link
// tickbell_platform.
inline const CodePage& systemCodePage()
{
    static const std::unique_ptr<CodePage> page = makeSystemCodePage();
    return *page;
}
