// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Start-up and the program's own files: one line each on standard error.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
