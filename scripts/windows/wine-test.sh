#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows QtTest program under Wine for CTest (the cross build's test emulator):
#   wine-test.sh PROGRAM.exe [ARGS...]
# On Windows QtTest's plain-text log goes to the debugger's output, never to standard output, so
# the results come as TAP, which it writes to standard output like any other format. The exit
# status is the program's (QtTest: the number of failures).
set -uo pipefail
program=$1
shift
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$program" -o -,tap "$@" </dev/null
