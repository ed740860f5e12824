// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' backend: a clock the test moves, and sound, launching and stacking that record
// what they were asked for. Passed in where the program passes the system's.

#ifndef TICKBELL_DUMMY_BACKEND
#error "the dummy backend is for the tests: link tickbell_platform_dummy"
#endif

#include "core/services/audio_output.h"
#include "core/services/clock.h"
#include "core/services/launcher.h"
#include "platform/window_stacking.h"

#include <QDateTime>
#include <QStringList>

// A clock that stands still until the test moves it.
class DummyClock final : public Clock {
public:
    explicit DummyClock(QDateTime start = QDateTime(QDate(2010, 2, 12), QTime(9, 0)))
        : m_now(std::move(start))
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
class DummyAudio final : public AudioOutput {
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

class DummyLauncher final : public Launcher {
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

class DummyStacking final : public WindowStacking {
public:
    void setLayer(QWindow* window, Layer layer) override
    {
        lastWindow = window;
        requests.append(layer);
    }
    QList<Layer> requests;
    QWindow* lastWindow = nullptr;
};
