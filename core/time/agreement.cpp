// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/agreement.h"

#include <algorithm>
#include <vector>

Agreement agree(const QList<ServerAnswer>& answers)
{
    Agreement result;
    struct Edge {
        qint64 at;
        int step; // +1 an interval begins, -1 one ends
    };
    std::vector<Edge> edges;
    for (const ServerAnswer& a : answers) {
        if (a.kind != ServerAnswer::Kind::Answered)
            continue;
        ++result.answered;
        edges.push_back({a.offsetUs - a.accuracyUs, +1});
        edges.push_back({a.offsetUs + a.accuracyUs, -1});
    }
    // Beginnings first where an end meets a beginning: intervals that touch agree.
    std::sort(edges.begin(), edges.end(),
              [](const Edge& x, const Edge& y) { return x.at < y.at || (x.at == y.at && x.step > y.step); });
    int count = 0;
    qint64 low = 0;
    qint64 high = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
        count += edges[i].step;
        if (count > result.agreeing) {
            result.agreeing = count;
            low = edges[i].at;
            high = edges[i + 1].at; // the next edge ends this stretch; there is one after a beginning
        }
    }
    result.ok = result.answered > 0 && result.agreeing * 2 > result.answered;
    for (const ServerAnswer& a : answers) {
        switch (a.kind) {
        case ServerAnswer::Kind::Silent: result.verdicts << Agreement::Verdict::Silent; break;
        case ServerAnswer::Kind::Failed: result.verdicts << Agreement::Verdict::Failed; break;
        case ServerAnswer::Kind::Answered:
            result.verdicts << (result.ok && a.offsetUs - a.accuracyUs <= low &&
                                        a.offsetUs + a.accuracyUs >= high
                                    ? Agreement::Verdict::Agrees
                                    : Agreement::Verdict::Disagrees);
            break;
        }
    }
    if (result.ok) {
        result.offsetUs = low + (high - low) / 2;
        result.accuracyUs = (high - low) / 2;
    }
    return result;
}
