// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system library's Linux pieces are built for Linux alone (its own guard: the platform's
// backends are not this library's to include).
#ifndef TICKBELL_BACKEND_LINUX
#error "a Linux piece of the system library in a build for another system"
#endif

#include <QDBusError>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <QVariant>
#include <functional>
#include <optional>

class QObject;

// Calls a system service on the system bus without waiting for it (polkit may ask the user for
// a password meanwhile), letting polkit ask. done gets an empty text on success, else the
// reason in Chinese: failureText's for the service's own errors, a missing bus said here.
void callSystemService(QDBusMessage call, QObject* context, const QLoggingCategory& category,
                       std::function<QString(const QDBusError&)> failureText,
                       std::function<void(const QString&)> done);

// Reads a property of a system service without waiting; done gets nullopt when it cannot be
// read (no bus, no service), which goes to standard error.
void readSystemProperty(const QString& service, const QString& path, const QString& interface,
                        const QString& name, QObject* context, const QLoggingCategory& category,
                        std::function<void(std::optional<QVariant>)> done);
