// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fakes for the system services of the tools in plug/: they record each request and answer
// only when the test says so.

#include "system/power_off.h"
#include "system/time_sync.h"

#include <QObject>
#include <QPointer>

template <class Interface> class FakeSystemRequest : public Interface {
public:
    // The system's answer to the latest request: empty for yes, else why not.
    void answer(const QString& no = {})
    {
        if (m_context && m_done)
            m_done(no);
    }
    int requests = 0;

protected:
    void record(QObject* context, std::function<void(const QString&)> done)
    {
        ++requests;
        m_context = context;
        m_done = std::move(done);
    }

private:
    QPointer<QObject> m_context;
    std::function<void(const QString&)> m_done;
};

class FakePowerOff final : public FakeSystemRequest<PowerOff> {
public:
    void requestPowerOff(QObject* context, std::function<void(const QString&)> done) override
    {
        record(context, std::move(done));
    }
};

class FakeTimeSync final : public FakeSystemRequest<TimeSync> {
public:
    // What the system says of its network time, at once.
    std::optional<bool> syncOn = false;
    void isSyncOn(QObject*, std::function<void(std::optional<bool>)> done) override { done(syncOn); }
    void requestSync(QObject* context, std::function<void(const QString&)> done) override
    {
        record(context, std::move(done));
    }
};
