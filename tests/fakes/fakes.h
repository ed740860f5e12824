// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fakes for the platform seams, passed in through Form1Services.

#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/window_stacking.h"

#include <QDateTime>
#include <QStringList>

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2010, 2, 12), QTime(9, 0))) : m_now(std::move(start))
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void set(QDate d, QTime t) { m_now = QDateTime(d, t); }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

// Records what would have been played; "open" is what a real output would hold.
class FakeAudio final : public AudioOutput {
public:
    void play(const QString& path) override
    {
        played << path;
        open = path;
    }
    void close() override
    {
        ++closes;
        open.clear();
    }
    QStringList played;
    QString open;
    int closes = 0;
};

class FakeLauncher final : public Launcher {
public:
    bool openPath(const QString& path) override
    {
        paths << path;
        launches << path;
        return succeed;
    }
    bool openAddress(const QString& address) override
    {
        addresses << address;
        launches << address;
        return succeed;
    }
    QStringList paths;
    QStringList addresses;
    QStringList launches; // both kinds, in order
    bool succeed = true;
};

class FakeStacking final : public WindowStacking {
public:
    void setLayer(QWindow* window, Layer layer) override
    {
        lastWindow = window;
        requests.append(layer);
    }
    QList<Layer> requests;
    QWindow* lastWindow = nullptr;
};
