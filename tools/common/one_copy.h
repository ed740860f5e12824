// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>

class QLocalServer;

// One copy of a tool per user and display: a second start brings the first one's window
// forward and ends (two countdowns to one shutdown would only confuse).
class OneCopy : public QObject {
    Q_OBJECT
public:
    explicit OneCopy(const QString& tool, QObject* parent = nullptr);
    ~OneCopy() override;

    // True when this is the first copy; otherwise the first has been asked to come forward.
    bool claim();

signals:
    void secondStart();

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
