// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QObject;

// Has the system set its clock from network time, the way it does so itself; nothing here ever
// writes the clock. Never waits for the answer.
class TimeSync {
public:
    virtual ~TimeSync() = default;
    // Whether the system already keeps its clock by network time: done gets true or false, or
    // nullopt where it cannot tell. It is not called once context is gone.
    virtual void isSyncOn(QObject* context, std::function<void(std::optional<bool> on)> done) = 0;
    // done gets an empty text once the system has taken the job on, else why not, in Chinese.
    // It is not called once context is gone.
    virtual void requestSync(QObject* context, std::function<void(const QString& failure)> done) = 0;
};

// The system's: systemd-timedated's network time on Linux, the Windows time service.
std::unique_ptr<TimeSync> makeSystemTimeSync();

// Where the system's way needs elevated rights (Windows), the backend starts the program again,
// elevated, with its own arguments; main() hands its arguments here first, and ends with the
// status given. nullopt: the arguments are not such a start.
std::optional<int> runElevatedTimeSync(const QStringList& arguments);
