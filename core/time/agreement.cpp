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
    QList<bool> counted; // per answer
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const ServerAnswer& a = answers[i];
        bool first = a.kind == ServerAnswer::Kind::Answered;
        for (qsizetype j = 0; j < i && first && !a.address.isEmpty(); ++j)
            first = !(counted[j] && answers[j].address == a.address);
        counted << first;
        if (!first)
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
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        count += edges[i].step;
        // The next edge ends this stretch; a stretch as crowded as the best but tighter wins.
        const qint64 width = edges[i + 1].at - edges[i].at;
        if (count > result.agreeing || (count == result.agreeing && count > 0 && width < high - low)) {
            result.agreeing = count;
            low = edges[i].at;
            high = edges[i + 1].at;
        }
    }
    result.onlyServer = answers.size() == 1;
    result.ok = result.agreeing * 2 > result.answered && (result.agreeing >= 2 || result.onlyServer);
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const ServerAnswer& a = answers[i];
        switch (a.kind) {
        case ServerAnswer::Kind::Silent: result.verdicts << Agreement::Verdict::Silent; break;
        case ServerAnswer::Kind::Failed: result.verdicts << Agreement::Verdict::Failed; break;
        case ServerAnswer::Kind::Answered:
            if (!counted[i])
                result.verdicts << Agreement::Verdict::SameAddress;
            else
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
