// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QObject;

// Shuts the computer down and powers it off, as the desktop's own Shut down does: the system
// decides, and may ask the user or refuse. Never waits for the answer.
class PowerOff {
public:
    virtual ~PowerOff() = default;
    // done gets an empty text once the system has taken the request, else why not, in Chinese
    // for the user. It is not called once context is gone.
    virtual void requestPowerOff(QObject* context, std::function<void(const QString& refusal)> done) = 0;
};

// The system's: logind over the system bus on Linux, InitiateShutdownW on Windows.
std::unique_ptr<PowerOff> makeSystemPowerOff();
