// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/sapi_speech.h"

#include <QLoggingCategory>

#include <windows.h>

#include <sapi.h>

Q_LOGGING_CATEGORY(lcSpeech, "tickbell.speech")

namespace {

// Releases a COM pointer at the end of its scope.
template <class T> struct Held {
    T* p = nullptr;
    ~Held()
    {
        if (p)
            p->Release();
    }
};

// The first voice of a Chinese language: Mandarin in China (0x804), Taiwan (0x404), then
// Cantonese in Hong Kong (0xC04). Null when there is none.
ISpObjectToken* chineseVoice()
{
    Held<ISpObjectTokenCategory> category;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                reinterpret_cast<void**>(&category.p))) ||
        FAILED(category.p->SetId(SPCAT_VOICES, FALSE)))
        return nullptr;
    for (const wchar_t* language : {L"Language=804", L"Language=404", L"Language=C04"}) {
        Held<IEnumSpObjectTokens> tokens;
        if (FAILED(category.p->EnumTokens(language, nullptr, &tokens.p)) || !tokens.p)
            continue;
        ISpObjectToken* token = nullptr;
        ULONG fetched = 0;
        if (tokens.p->Next(1, &token, &fetched) == S_OK && fetched == 1 && token)
            return token;
    }
    return nullptr;
}

} // namespace

SapiSpeech::SapiSpeech(QObject* parent) : Speech(parent)
{
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, &SapiSpeech::poll);
}

SapiSpeech::~SapiSpeech()
{
    if (m_voice) {
        if (m_active)
            m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        m_voice->Release();
    }
    if (m_comStarted)
        CoUninitialize();
}

void SapiSpeech::prepare()
{
    if (m_looked)
        return;
    m_looked = true;
    // Qt's window thread has COM already (and says so: S_FALSE, to be balanced all the same); a
    // thread that has it in the other mode answers RPC_E_CHANGED_MODE and works on as it is.
    m_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    Held<ISpObjectToken> token{chineseVoice()};
    if (!token.p) {
        qCWarning(lcSpeech, "no Chinese voice for the reminders: the chime alone");
        return;
    }
    ISpVoice* voice = nullptr;
    HRESULT result =
        CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&voice));
    if (SUCCEEDED(result))
        result = voice->SetVoice(token.p);
    if (FAILED(result)) {
        qCWarning(lcSpeech, "the Chinese voice could not be started (0x%08lx): the chime alone",
                  static_cast<unsigned long>(result));
        if (voice)
            voice->Release();
        return;
    }
    m_voice = voice;
}

void SapiSpeech::say(const QString& text)
{
    ++m_unfinished;
    prepare();
    if (!m_voice) {
        finishLater();
        return;
    }
    if (m_active)
        finishLater(); // the text it was reading, purged by this one
    const HRESULT result = m_voice->Speak(reinterpret_cast<LPCWSTR>(text.utf16()),
                                          SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
    if (FAILED(result)) {
        qCWarning(lcSpeech, "the voice did not read (0x%08lx)", static_cast<unsigned long>(result));
        m_active = false;
        m_poll.stop();
        finishLater();
        return;
    }
    m_active = true;
    m_poll.start();
}

void SapiSpeech::stop()
{
    if (!m_active)
        return;
    m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    m_active = false;
    m_poll.stop();
    finishLater();
}

void SapiSpeech::poll()
{
    // S_FALSE while it still reads; done, or failing to say (a voice that cannot tell), ends it.
    if (m_voice->WaitUntilDone(0) == S_FALSE)
        return;
    m_active = false;
    m_poll.stop();
    spoken();
}

void SapiSpeech::finishLater()
{
    QTimer::singleShot(0, this, &SapiSpeech::spoken);
}

void SapiSpeech::spoken()
{
    m_unfinished = qMax(0, m_unfinished - 1);
    emit finished();
}
