// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Modal windows (the viewer, message boxes) block the caller in exec(); a test reaches them
// from a timer inside that event loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Watches for the next modal window and hands it to act, which must close it. Record what
// to check inside act and assert after exec() has returned: a failed check inside would leave
// the window open and the test hanging. Destroying the watcher cancels it, so a window that
// never came cannot be closed by a later test.
class ModalWatcher : public QObject {
public:
    using Act = std::function<void(QWidget* modal)>;

    explicit ModalWatcher(Act act, int timeoutMs = 10000) : m_act(std::move(act)), m_timeout(timeoutMs)
    {
        m_clock.start();
        poll();
    }

    bool seen() const { return m_seen; }

private:
    void poll()
    {
        QTimer::singleShot(5, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) {
                m_seen = true;
                m_act(modal);
                return;
            }
            if (m_clock.elapsed() < m_timeout)
                poll();
        });
    }

    Act m_act;
    int m_timeout;
    QElapsedTimer m_clock;
    bool m_seen = false;
};
