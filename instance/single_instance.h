// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>

class QLocalServer;

// One Tickbell per user session: two would double every prompt, launch and shutdown. The tools
// in plug/ keep one copy each the same way (two countdowns to one shutdown would only confuse).
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // program names the guard: "tickbell", or a tool's name.
    explicit SingleInstance(const QString& program = QStringLiteral("tickbell"), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first; otherwise the running one has been asked to come
    // forward and this one should end.
    bool claim();

    QString serverName() const;

signals:
    void activationRequested();

private:
    QString m_program;
    std::shared_ptr<void> m_lock;
    QLocalServer* m_server = nullptr;
};
