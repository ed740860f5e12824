// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class PowerOff;

// The quick shutdown: a minute to change one's mind, then the system is asked to power off.
// Owns its one-second timer; tests call tick() instead of waiting.
class ShutdownCountdown : public QObject {
    Q_OBJECT
public:
    enum class State {
        Counting,  // seconds left
        Asking,    // the request is with the system
        Accepted,  // the system is shutting down
        Refused,   // the system said no; refusal() says why
        Cancelled, // the user stopped it
    };

    explicit ShutdownCountdown(PowerOff& power, int seconds = 60, QObject* parent = nullptr);

    void start();
    // One second has passed.
    void tick();
    void cancel();
    // Asks at once, also again after a refusal.
    void powerOffNow();

    State state() const { return m_state; }
    int secondsLeft() const { return m_left; }
    QString refusal() const { return m_refusal; }
    // "60 秒后关机", "正在关机..." ... what the window shows.
    QString text() const;

signals:
    void changed();

private:
    void ask();
    void setState(State state);

    PowerOff& m_power;
    QTimer m_timer;
    int m_left;
    State m_state = State::Counting;
    QString m_refusal;
};
