// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/network_time.h"

#include <QObject>
#include <QPointer>

// Network time that answers when the test says so, with the answers it is given.
class FakeNetworkTime final : public NetworkTime {
public:
    void measure(const QStringList& servers, QObject* context,
                 std::function<void(const QList<ServerAnswer>&)> done) override
    {
        asked << servers;
        m_context = context;
        m_done = std::move(done);
    }
    void answer(const QList<ServerAnswer>& answers)
    {
        if (m_context && m_done)
            m_done(answers);
    }
    // A measurement is waiting for its answers, and whoever asked is still there.
    bool pending() const { return m_context && m_done; }
    QList<QStringList> asked; // the list of every measurement

private:
    QPointer<QObject> m_context;
    std::function<void(const QList<ServerAnswer>&)> m_done;
};
