// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Included first by every header of this folder: a Linux backend in another system's build is
// refused at compile time.
#include "platform/backend.h"

#ifndef TICKBELL_BACKEND_LINUX
#error "a Linux backend in a build for another system"
#endif
