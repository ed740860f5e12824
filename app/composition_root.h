// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/trading_day.h"
#include "core/settings/config_location.h"

#include <memory>

class PlatformServices;

// The one place that makes the program's real objects: the trading day on the platform's
// services, with the program folder's files, the calendar read from the holidays files (their
// problems go to standard error) and network time by SNTP from the clock tool's list.
// "load .............." stays this long after the window shows, before the first tick.
constexpr int kFirstTickDelayMs = 800;

std::unique_ptr<TradingDay> makeTradingDay(PlatformServices& platform, const QString& programFolder,
                                           const ConfigLocation& config);
