// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"

#include <QList>

// What the servers agree on. Each answer stands for the interval offset ± accuracy; the largest
// group whose intervals share a point (Marzullo's selection, as NTP makes it) is taken when it
// is a majority of the answers, and the result is the part all of them share.
struct Agreement {
    enum class Verdict { Agrees, Disagrees, Silent, Failed };
    bool ok = false;         // false: no majority (or no answer); nothing is taken
    qint64 offsetUs = 0;     // the shared part's middle
    qint64 accuracyUs = 0;   // its half width
    QList<Verdict> verdicts; // one a server, in the answers' order
    int answered = 0;
    int agreeing = 0;
};

Agreement agree(const QList<ServerAnswer>& answers);
