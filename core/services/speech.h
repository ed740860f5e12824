// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// The system's voice, reading the trader's reminders aloud in Chinese. Nothing here blocks or
// shows an error: where the system has no Chinese voice, nothing is said.
class Speech : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether a Chinese voice was found. False until a prepare() or say() has looked.
    virtual bool available() const = 0;
    // Starts looking for the voice (which may start the system's speech service), in the
    // background, so that a say() soon after need not wait for it.
    virtual void prepare() = 0;
    // Reads text aloud in the background, stopping what it was reading. finished follows once
    // for every say(): when the text is done, stopped, or could not be said (then at once,
    // queued: without a voice, with the voice failing).
    virtual void say(const QString& text) = 0;
    // Stops what it reads.
    virtual void stop() = 0;
    // From a say() to its finished.
    virtual bool speaking() const = 0;

signals:
    void finished();
};
