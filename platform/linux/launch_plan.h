// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include <QString>
#include <QStringList>
#include <QUrl>

// How a path is opened on this desktop, worked out before anything is started.
struct LaunchPlan {
    enum class Kind {
        StartProgram,    // program with arguments, no shell
        OpenWithDesktop, // the desktop's association for url
        Fail,            // nothing can be started; reason says why
    };
    Kind kind = Kind::Fail;
    QString program;
    QStringList arguments;
    QString workingDirectory;
    QUrl url;
    QString reason;
};

// An executable file starts in its own folder; a desktop entry (what desktops and Wine make
// for a Windows trading client) starts the application it describes; anything else that
// exists opens with the desktop's association.
LaunchPlan planOpenPath(const QString& path);

// The argument vector of a desktop entry's Exec key, field codes dropped, or an empty list
// with *error set.
QStringList desktopEntryCommand(const QString& entryText, QString* error, QString* workingDirectory = nullptr,
                                QUrl* link = nullptr);

// Splits an Exec value by the desktop-entry quoting rules (double quotes, backslash escapes).
// Returns false on an unbalanced quote.
bool splitExecLine(const QString& exec, QStringList* argv);
