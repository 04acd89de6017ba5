#include "app/ErrorMessages.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace brenvik {

namespace {

struct Entry {
    int number;
    const char* message;
    int flags;
};

constexpr Entry Table[] = {
    {52, "File non valido!", mb::OKCancel | mb::Exclamation},
    {53, "File non trovato!", mb::OKCancel | mb::Exclamation},
    {54, "Impossibile aprire il file!", mb::OKCancel | mb::Exclamation},
    {55, "File già aperto!", mb::OK | mb::Exclamation},
    {57, "Errore nella periferica!", mb::OK | mb::Critical},
    {58, "File esistente!", mb::OK | mb::Exclamation},
    {61, "Disco Pieno!", mb::OK | mb::Exclamation},
    {62, "Errore di Input!", mb::AbortRetryIgnore | mb::Exclamation},
    {64, "File non valido!", mb::OKCancel | mb::Exclamation},
    {68, "Periferica non pronta!", mb::RetryCancel | mb::Critical},
    {70, "Accesso negato!", mb::RetryCancel | mb::Exclamation},
    {71, "Unità non pronta!", mb::OKCancel | mb::Exclamation},
    {75, "Errore di accesso...", mb::OK | mb::Exclamation},
    {76, "Percorso inesistente...", mb::OKCancel | mb::Exclamation},
    {31036, "Errore salvando il file...", mb::AbortRetryIgnore | mb::Exclamation},
    {31037, "Errore caricando il file...", mb::AbortRetryIgnore | mb::Exclamation},
};

const Entry* lookup(int number) {
    for (const Entry& e : Table)
        if (e.number == number)
            return &e;
    return nullptr;
}

} // namespace

bool offersOnlyOk(int number) {
    const Entry* e = lookup(number);
    return e && (e->flags & mb::ButtonsMask) == mb::OK;
}

int ErroreDaNumero(Platform& platform, int number) {
    const Entry* e = lookup(number);
    if (!e)
        return errore::Unlisted;
    switch (platform.msgBox(e->message, e->flags, "Errore")) {
    case mb::IdOK:
    case mb::IdRetry:
        return errore::Retry;
    case mb::IdCancel:
    case mb::IdIgnore:
        return errore::Continue;
    case mb::IdAbort:
        return errore::Irreversible;
    default:
        return errore::Unlisted;
    }
}

void runWithRetry(Platform& platform, const std::function<void()>& step, const std::string& irreversibleText,
                  const std::string& unlistedText) {
    int retriedOkOnly = 0;
    for (;;) {
        try {
            step();
            return;
        } catch (const RuntimeError& e) {
            if (e.number() == retriedOkOnly)
                return;
            switch (ErroreDaNumero(platform, e.number())) {
            case errore::Retry:
                retriedOkOnly = offersOnlyOk(e.number()) ? e.number() : 0;
                continue;
            case errore::Continue:
                return;
            case errore::Irreversible:
                platform.msgBox(irreversibleText, mb::OK);
                platform.desktop.endProgram();
                return;
            default:
                platform.msgBox(unlistedText, mb::OK);
                return;
            }
        }
    }
}

} // namespace brenvik
