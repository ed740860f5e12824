// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "core/services/launcher.h"

#include <QStringList>
#include <QUrl>

// Starts processes and hands addresses to the desktop; the seam under DesktopLauncher.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory, QString* error) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
};

// QProcess without a shell, and QDesktopServices (xdg-open, or $BROWSER).
class SystemProcessStarter final : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                       QString* error) override;
    bool openUrl(const QUrl& url) override;
};

class DesktopLauncher final : public Launcher {
public:
    explicit DesktopLauncher(ProcessStarter& starter) : m_starter(starter) {}

    bool openPath(const QString& path) override;
    bool openAddress(const QString& address) override;

private:
    ProcessStarter& m_starter;
};
