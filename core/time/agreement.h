// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"

#include <QList>

// Marzullo's intersection with a majority: the most servers whose intervals (offset ± accuracy)
// share a stretch, taken when they are at least two and more than half of those that answered
// (one is enough only where the list names one server); among equal groups the tightest. One
// address counts once.
struct Agreement {
    enum class Verdict { Agrees, Disagrees, Silent, Failed, SameAddress };
    bool ok = false;         // false: nothing is taken
    bool onlyServer = false; // taken from the one server of a one-line list
    qint64 offsetUs = 0;     // the shared stretch's middle
    qint64 accuracyUs = 0;   // its half width
    QList<Verdict> verdicts; // one a server, in the answers' order
    int answered = 0;        // distinct addresses that answered
    int agreeing = 0;
};

Agreement agree(const QList<ServerAnswer>& answers);
