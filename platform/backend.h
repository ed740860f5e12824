// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Included first by every backend header, through its folder's guard (platform/linux/linux_backend.h,
// platform/windows/windows_backend.h). Windows, dialogs and the day see only the interfaces
// (platform/*.h, core/services/); the backends are made in one place (makePlatformServices), so
// a backend header anywhere else is refused at compile time.
#ifndef TICKBELL_PLATFORM_BACKEND
#error "platform backends are for the platform library and its tests; use the interfaces in platform/"
#endif
