// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds a Form1 on fakes in a scratch program folder, for the widget tests.

#include "fakes.h"
#include "mainwindow/main_window.h"

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
        s.day.clock = &clock;
        s.day.audio = &audio;
        s.day.launcher = &launcher;
        s.day.programFolder = folder.path();
        s.day.configPath = path(QStringLiteral("config.txt"));
        s.day.defaultConfigPath = path(QStringLiteral("plug/config.txt"));
        s.day.calendar = calendar;
        s.day.mirror = [this](const QString& what, const QString& text) { mirrored.append({what, text}); };
        s.stacking = &stacking;
        s.exitProgram = [this] { ++exits; };
        window = std::make_unique<Form1>(std::move(s));
        return *window;
    }
};
