// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/one_copy.h"

#include "tools/common/tools_log.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

OneCopy::OneCopy(const QString& tool, QObject* parent) : QObject(parent)
{
    QString display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_').replace(u':', u'_');
    m_name = u"tickbell-%1-%2-%3"_s.arg(tool).arg(qHash(QDir::homePath()), 0, 16).arg(display);
}

OneCopy::~OneCopy() = default;

bool OneCopy::claim()
{
    // The session's runtime folder; where the system has none (Windows answers with the home
    // folder), the temporary one, so that no lock is left among the user's own files.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || QDir(dir) == QDir::home())
        dir = QDir::tempPath();
    const QString path = dir + u'/' + m_name;
    // The lock decides who is first, also when two start at once; a dead holder's is taken over.
    m_lock = std::make_unique<QLockFile>(path + u".lock"_s);
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() != QLockFile::LockFailedError)
            return true; // no lock to be had: run without the guard
        for (int attempt = 0; attempt < 10; ++attempt) {
            QLocalSocket probe;
            probe.connectToServer(path);
            if (probe.waitForConnected(200)) {
                probe.write("show\n");
                probe.waitForBytesWritten(200);
                return false;
            }
            QThread::msleep(100); // the first may still be starting
        }
        return false;
    }
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        qCWarning(lcTools, "cannot listen for a second start: %s", qUtf8Printable(m_server->errorString()));
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit secondStart();
        }
    });
    return true;
}
