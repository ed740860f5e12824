// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/tools_log.h"

Q_LOGGING_CATEGORY(lcTools, "tickbell.tools")
