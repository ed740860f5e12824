// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The tools in plug/: one line each on standard error for what the user is not shown.
Q_DECLARE_LOGGING_CATEGORY(lcTools)
