#include "platform/sound_output.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcSound, "tickbell.sound")

SoundOutput::SoundOutput(QObject* parent) : QObject(parent) {}

SoundOutput::~SoundOutput() = default;

void SoundOutput::play(const QString& path)
{
    if (!m_openPath.isEmpty() && m_openPath == path)
        return; // the same prompt is still open: let it play on
    if (!m_warnedNoOutput && QMediaDevices::audioOutputs().isEmpty()) {
        // Qt looks for the sound server once, at start; one started later is not seen.
        qCWarning(lcSound, "no audio output found: voice prompts will be silent");
        m_warnedNoOutput = true;
    }
    if (!QFileInfo(path).isFile())
        qCWarning(lcSound, "prompt file missing: %s", qUtf8Printable(path));
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &SoundOutput::reportStatus);
    }
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->play();
    m_openPath = path;
}

void SoundOutput::close()
{
    if (m_effect) {
        m_effect->stop();
        m_effect->setSource(QUrl());
    }
    m_openPath.clear();
}

void SoundOutput::reportStatus()
{
    if (m_effect->status() == QSoundEffect::Error)
        qCWarning(lcSound, "cannot play %s", qUtf8Printable(m_effect->source().toLocalFile()));
}
