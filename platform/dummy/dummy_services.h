// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tests' backend: a clock the test moves, and sound, speech, launching, stacking and
// notifications that record what they were asked for. Passed in where the program passes the system's.

#ifndef TICKBELL_DUMMY_BACKEND
#error "the dummy backend is for the tests: link tickbell_platform_dummy"
#endif

#include "platform/platform_services.h"

#include <QDateTime>
#include <QStringList>
#include <QTimer>

// A clock that stands still until the test moves it. Time passing (advance) moves the steady
// clock too; setting the clock (set) moves only the wall clock, as a person or a time service
// does.
class DummyClock final : public Clock {
public:
    explicit DummyClock(QDateTime start = QDateTime(QDate(2010, 2, 12), QTime(9, 0)))
        : m_now(std::move(start))
    {
    }
    QDateTime now() const override { return m_now; }
    qint64 steadyMs() const override { return m_steadyMs; }
    void set(const QDateTime& t) { m_now = t; }
    void set(QDate d, QTime t) { m_now = QDateTime(d, t); }
    void advance(int seconds) { advanceMs(qint64(seconds) * 1000); }
    void advanceMs(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_steadyMs += ms;
    }

private:
    QDateTime m_now;
    qint64 m_steadyMs = 1'000'000;
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

// Records the notifications asked for; available() answers what the test sets.
class DummyNotifier final : public DesktopNotifier {
public:
    bool available() override { return present; }
    void notify(const QString& summary, const QString& body) override { shown.append({summary, body}); }
    bool present = true;
    QList<QStringList> shown; // {summary, body} each
};

// Records what it was asked to read. Without a voice (present false) each say() finishes at
// once, queued; with one, the test ends the text with finish(), as the voice would.
class DummySpeech final : public Speech {
public:
    bool available() const override { return present && prepared > 0; }
    void prepare() override { ++prepared; }
    void say(const QString& text) override
    {
        ++prepared;
        said << text;
        ++unfinished;
        if (!present)
            QTimer::singleShot(0, this, &DummySpeech::finish);
    }
    void stop() override
    {
        ++stops;
        if (unfinished > 0)
            QTimer::singleShot(0, this, &DummySpeech::finish);
    }
    bool speaking() const override { return unfinished > 0; }
    void finish()
    {
        if (unfinished == 0)
            return;
        --unfinished;
        emit finished();
    }
    bool present = true;
    int prepared = 0;
    int stops = 0;
    int unfinished = 0;
    QStringList said;
};

// All of them together, as makePlatformServices() gives the real ones.
class DummyPlatformServices final : public PlatformServices {
public:
    const Clock& clock() const override { return dummyClock; }
    const CodePage& codePage() const override { return qtCodePage; }
    AudioOutput& audio() override { return dummyAudio; }
    Launcher& launcher() override { return dummyLauncher; }
    Speech& speech() override { return dummySpeech; }
    WindowStacking& stacking() override { return dummyStacking; }
    DesktopNotifier* notifier() override { return &dummyNotifier; }
    void quitOnSystemRequests() override {}
    void releaseAudio() override { dummyAudio.close(); }

    DummyClock dummyClock;
    QtCodePage qtCodePage;
    DummyAudio dummyAudio;
    DummyLauncher dummyLauncher;
    DummyStacking dummyStacking;
    DummyNotifier dummyNotifier;
    DummySpeech dummySpeech;
};
