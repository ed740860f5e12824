// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/sound_output.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define TICKBELL_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define TICKBELL_LEAK_CHECK 1
#endif
#endif
#ifdef TICKBELL_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

Q_LOGGING_CATEGORY(lcSound, "tickbell.sound")

using namespace Qt::StringLiterals;

namespace {

// Qt 6.4 waits for the rest of a wav file that ends early (in its header or its sound data),
// and while it waits, handing QSoundEffect the next prompt blocks the user interface for good.
// So only files that hold every byte their header promises go to Qt.
bool isCompleteWav(const QString& path, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !(riff.startsWith("RIFF") || riff.startsWith("RIFX")) ||
        riff.mid(8, 4) != "WAVE") {
        *why = u"not a wav file"_s;
        return false;
    }
    bool haveFormat = false;
    for (qint64 pos = 12;;) {
        if (!file.seek(pos)) {
            *why = file.errorString();
            return false;
        }
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8) {
            *why = u"the file ends before its sound data"_s;
            return false;
        }
        const quint32 length = riff.startsWith("RIFX") ? qFromBigEndian<quint32>(chunk.constData() + 4)
                                                       : qFromLittleEndian<quint32>(chunk.constData() + 4);
        pos += 8;
        if (pos + length > size) {
            *why = u"the file ends inside its \"%1\" part"_s.arg(QString::fromLatin1(chunk.left(4)));
            return false;
        }
        if (chunk.startsWith("data")) {
            if (!haveFormat)
                *why = u"no format before the sound data"_s;
            return haveFormat;
        }
        if (chunk.startsWith("fmt "))
            haveFormat = length >= 16;
        pos += length + (length & 1);
    }
}

// Runs first of everything at exit, being registered last (glibc's on_exit also passes the
// status): flushes what is buffered, runs the leak check that would otherwise come at the very
// end, and leaves.
void endBeforeStaticTeardown(int status, void*)
{
    std::fflush(nullptr);
#ifdef TICKBELL_LEAK_CHECK
    __lsan_do_leak_check(); // ends the process with an error status on a leak
#endif
    std::_Exit(status);
}

} // namespace

SoundOutput::SoundOutput(QObject* parent) : QObject(parent) {}

SoundOutput::~SoundOutput() = default;

void SoundOutput::play(const QString& path)
{
    if (!m_openPath.isEmpty() && m_openPath == path)
        return; // the same prompt is still open: let it play on
    const bool noOutput = QMediaDevices::audioOutputs().isEmpty();
    if (noOutput && !m_warnedNoOutput) {
        // Qt looks for the sound server once, at start; one started later is not seen.
        qCWarning(lcSound, "no audio output found: voice prompts will be silent");
        m_warnedNoOutput = true;
    }
    if (m_effect)
        m_effect->stop();
    // Remembered even when it cannot play: a prompt asked for on every tick is judged once.
    m_openPath = path;
    if (noOutput)
        return; // Qt would only repeat that it has no device, once for every prompt
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcSound, "prompt file missing: %s", qUtf8Printable(path));
        return;
    }
    QString why;
    if (!isCompleteWav(path, &why)) {
        qCWarning(lcSound, "cannot play %s: %s", qUtf8Printable(path), qUtf8Printable(why));
        return;
    }
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &SoundOutput::reportStatus);
    }
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->play();
}

void SoundOutput::close()
{
    if (m_effect) {
        m_effect->stop();
        m_effect->setSource(QUrl());
    }
    m_openPath.clear();
}

void SoundOutput::release()
{
    close();
    delete m_effect;
    m_effect = nullptr;
    // The player hands its audio sink to deleteLater(); the stream goes with the sink, now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    static bool endArranged = false;
    if (!std::exchange(endArranged, true))
        ::on_exit(endBeforeStaticTeardown, nullptr);
}

void SoundOutput::reportStatus()
{
    if (m_effect->status() == QSoundEffect::Error)
        qCWarning(lcSound, "cannot play %s", qUtf8Printable(m_effect->source().toLocalFile()));
}
