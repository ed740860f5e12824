// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Included first by every header of this folder: a Windows backend in another system's build is
// refused at compile time.
#include "platform/backend.h"

#ifndef TICKBELL_BACKEND_WINDOWS
#error "a Windows backend in a build for another system"
#endif
