// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

class QLocalServer;

// One Tickbell per user session: two would double every prompt, launch and shutdown.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first; otherwise the running one has been asked to come
    // forward and this one should end.
    bool claim();

    static QString serverName();

signals:
    void activationRequested();

private:
    std::shared_ptr<void> m_lock;
    QLocalServer* m_server = nullptr;
};
