// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds a Form1 on fakes in a scratch program folder, for the widget tests.

#include "app/main_window.h"
#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

struct Form1Fixture {
    QTemporaryDir folder;
    FakeClock clock;
    FakeAudio audio;
    FakeLauncher launcher;
    FakeStacking stacking;
    TradingCalendar calendar;
    int exits = 0;
    QStringList told;
    QList<QPair<QString, QString>> mirrored;
    std::unique_ptr<Form1> window;

    QString path(const QString& relative) const { return folder.filePath(relative); }

    // Writes the program folder's default settings file (bytes as given).
    void writeDefaultConfig(const QByteArray& bytes)
    {
        QDir().mkpath(path(QStringLiteral("plug")));
        QFile f(path(QStringLiteral("plug/config.txt")));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    Form1& create()
    {
        Form1Services s;
        s.clock = &clock;
        s.audio = &audio;
        s.launcher = &launcher;
        s.stacking = &stacking;
        s.programFolder = folder.path();
        s.configPath = path(QStringLiteral("config.txt"));
        s.defaultConfigPath = path(QStringLiteral("plug/config.txt"));
        s.calendar = calendar;
        s.exitProgram = [this] { ++exits; };
        s.tell = [this](const QString& line) { told << line; };
        s.mirror = [this](const QString& what, const QString& text) { mirrored.append({what, text}); };
        window = std::make_unique<Form1>(std::move(s));
        return *window;
    }
};
