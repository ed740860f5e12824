// SPDX-License-Identifier: GPL-3.0-or-later
// Part of every test program on Windows. The tests' clocks give local times, which Qt converts
// through the C runtime; that reads TZ, and under Wine takes the Linux name it is given
// (TZ=Asia/Shanghai) for UTC. Without TZ it follows Windows' own zone, as on a Windows computer.
// The program itself never asks the C runtime (core/services/windows/wall_clock.cpp).
#include <cstdlib>
#include <ctime>

namespace {

const bool g_windowsZone = [] {
    _putenv("TZ=");
    _tzset();
    return true;
}();

} // namespace
