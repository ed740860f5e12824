// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/tools_log.h"

Q_LOGGING_CATEGORY(lcTools, "tickbell.tools")
