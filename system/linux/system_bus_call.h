// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <functional>

class QObject;

// Calls a system service on the system bus without waiting for it (polkit may ask the user for
// a password meanwhile), letting polkit ask. done gets an empty text on success, else the
// reason in Chinese: failureText's for the service's own errors, a missing bus said here.
void callSystemService(QDBusMessage call, QObject* context, const QLoggingCategory& category,
                       std::function<QString(const QDBusError&)> failureText,
                       std::function<void(const QString&)> done);
