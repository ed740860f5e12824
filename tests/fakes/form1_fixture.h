// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds the trading day and a Form1 on fakes in a scratch program folder, for the widget tests.

#include "fakes/system_code_page.h"
#include "platform/dummy/dummy_services.h"
#include "ui/mainwindow/main_window.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

struct Form1Fixture {
    QTemporaryDir folder;
    DummyClock clock;
    const CodePage& codePage = systemCodePage();
    DummyAudio audio;
    DummyLauncher launcher;
    DummyStacking stacking;
    TradingCalendar calendar;
    int exits = 0;
    std::unique_ptr<TradingDay> day;
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
        TradingDayServices s;
        s.clock = &clock;
        s.codePage = &codePage;
        s.audio = &audio;
        s.launcher = &launcher;
        s.programFolder = folder.path();
        s.configPath = path(QStringLiteral("config.txt"));
        s.defaultConfigPath = path(QStringLiteral("plug/config.txt"));
        s.calendar = calendar;
        day = std::make_unique<TradingDay>(std::move(s));
        QObject::connect(day.get(), &TradingDay::exitRequested, [this] { ++exits; });
        window = std::make_unique<Form1>(*day, stacking);
        // As the program starts it; the tests run the ticks themselves.
        day->start();
        return *window;
    }
};
