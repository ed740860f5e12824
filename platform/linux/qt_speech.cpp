// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/qt_speech.h"

#include <QLoggingCategory>
#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcSpeech, "tickbell.speech")

using namespace Qt::StringLiterals;

namespace {

// A voice reading Chinese characters: a Chinese locale's (Mandarin in China first), else one
// named Mandarin among the voices of a language Qt does not know (speech-dispatcher's espeak-ng
// gives "cmn" so, and its "latin as Pinyin" one reads digits in Chinese too), else Cantonese.
bool chooseChineseVoice(QTextToSpeech& tts)
{
    QList<QLocale> locales = tts.availableLocales();
    const auto rank = [](const QLocale& l) {
        if (l.language() == QLocale::Chinese)
            return l.territory() == QLocale::China ? 0 : 1;
        if (l.language() == QLocale::C || l.language() == QLocale::AnyLanguage)
            return 2;
        return l.language() == QLocale::Cantonese ? 3 : 4;
    };
    std::stable_sort(locales.begin(), locales.end(),
                     [&](const QLocale& a, const QLocale& b) { return rank(a) < rank(b); });
    for (const QLocale& locale : locales) {
        const int r = rank(locale);
        if (r > 3)
            break;
        tts.setLocale(locale);
        QList<QVoice> voices = tts.availableVoices();
        if (r == 2) {
            voices.removeIf([](const QVoice& v) { return !v.name().contains(u"Mandarin"_s); });
            // The plain voice before its variants ("+female1"), and pinyin before English for
            // the Latin letters and digits.
            std::stable_sort(voices.begin(), voices.end(), [](const QVoice& a, const QVoice& b) {
                const auto score = [](const QVoice& v) {
                    return (v.name().contains(u'+') ? 2 : 0) + (v.name().contains(u"Pinyin"_s) ? 0 : 1);
                };
                return score(a) < score(b);
            });
        }
        if (voices.isEmpty())
            continue;
        tts.setVoice(voices.first());
        qCInfo(lcSpeech, "reminders are read by %s (%s)", qUtf8Printable(voices.first().name()),
               qUtf8Printable(locale.name()));
        return true;
    }
    return false;
}

} // namespace

// The engine's side, on the speech thread.
class SpeechWorker : public QObject {
    Q_OBJECT
public:
    void look()
    {
        m_tts = new QTextToSpeech(this);
        if (m_tts->state() == QTextToSpeech::Error) {
            qCWarning(lcSpeech, "no voice for the reminders: %s", qUtf8Printable(m_tts->errorString()));
            emit found(false);
            return;
        }
        if (!chooseChineseVoice(*m_tts)) {
            qCWarning(lcSpeech, "no Chinese voice for the reminders (engine %s): the chime alone",
                      qUtf8Printable(m_tts->engine()));
            emit found(false);
            return;
        }
        connect(m_tts, &QTextToSpeech::stateChanged, this, &SpeechWorker::stateChanged);
        emit found(true);
    }

    void speak(const QString& text)
    {
        halt();
        m_active = true;
        m_started = false;
        m_tts->say(text);
        if (m_tts->state() == QTextToSpeech::Error)
            done();
    }

    void halt()
    {
        if (!m_active)
            return;
        m_tts->stop();
        done();
    }

signals:
    void found(bool voice);
    void spoken();

private:
    void stateChanged(QTextToSpeech::State state)
    {
        // The end of an earlier text may still come in after the next one was handed over: a
        // text is done only once it has begun.
        if (state == QTextToSpeech::Speaking)
            m_started = true;
        else if (state == QTextToSpeech::Error || (state == QTextToSpeech::Ready && m_started))
            done();
    }
    void done()
    {
        if (!std::exchange(m_active, false))
            return;
        emit spoken();
    }

    QTextToSpeech* m_tts = nullptr;
    bool m_active = false;
    bool m_started = false;
};

QtSpeech::QtSpeech(QObject* parent) : Speech(parent) {}

QtSpeech::~QtSpeech()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(m_worker, &QObject::deleteLater);
    m_thread->quit();
    // A thread still waiting for speech-dispatcher is left to the end of the process rather
    // than holding up the program's.
    if (m_thread->wait(3000))
        delete m_thread;
    else
        qCWarning(lcSpeech, "the speech thread did not end");
}

void QtSpeech::prepare()
{
    if (m_state != State::NotLooked)
        return;
    m_state = State::Looking;
    m_thread = new QThread;
    m_thread->setObjectName(u"speech"_s);
    m_worker = new SpeechWorker;
    m_worker->moveToThread(m_thread);
    connect(m_worker, &SpeechWorker::found, this, &QtSpeech::found);
    connect(m_worker, &SpeechWorker::spoken, this, &QtSpeech::spoken);
    m_thread->start();
    QMetaObject::invokeMethod(m_worker, &SpeechWorker::look);
}

void QtSpeech::say(const QString& text)
{
    ++m_unfinished;
    switch (m_state) {
    case State::None: finishLater(); return;
    case State::Ready: QMetaObject::invokeMethod(m_worker, [w = m_worker, text] { w->speak(text); }); return;
    case State::NotLooked:
    case State::Looking:
        if (std::exchange(m_hasWaiting, true))
            finishLater(); // the text that waited is given up for this one
        m_waiting = text;
        prepare();
        return;
    }
}

void QtSpeech::stop()
{
    if (std::exchange(m_hasWaiting, false))
        finishLater();
    if (m_state == State::Ready)
        QMetaObject::invokeMethod(m_worker, &SpeechWorker::halt);
}

void QtSpeech::found(bool voice)
{
    m_state = voice ? State::Ready : State::None;
    if (!std::exchange(m_hasWaiting, false))
        return;
    if (voice)
        QMetaObject::invokeMethod(m_worker, [w = m_worker, text = m_waiting] { w->speak(text); });
    else
        finishLater();
}

void QtSpeech::spoken()
{
    m_unfinished = qMax(0, m_unfinished - 1);
    emit finished();
}

void QtSpeech::finishLater()
{
    QTimer::singleShot(0, this, &QtSpeech::spoken);
}

#include "qt_speech.moc"
