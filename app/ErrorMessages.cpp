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
    {err::BadFileNameOrNumber, "File non valido!", mb::OKCancel | mb::Exclamation},
    {err::FileNotFound, "File non trovato!", mb::OKCancel | mb::Exclamation},
    {err::BadFileMode, "Impossibile aprire il file!", mb::OKCancel | mb::Exclamation},
    {err::FileAlreadyOpen, "File già aperto!", mb::OK | mb::Exclamation},
    {err::DeviceIo, "Errore nella periferica!", mb::OK | mb::Critical},
    {err::FileAlreadyExists, "File esistente!", mb::OK | mb::Exclamation},
    {err::DiskFull, "Disco Pieno!", mb::OK | mb::Exclamation},
    {err::InputPastEnd, "Errore di Input!", mb::AbortRetryIgnore | mb::Exclamation},
    {err::BadFileName, "File non valido!", mb::OKCancel | mb::Exclamation},
    {err::DeviceUnavailable, "Periferica non pronta!", mb::RetryCancel | mb::Critical},
    {err::PermissionDenied, "Accesso negato!", mb::RetryCancel | mb::Exclamation},
    {err::DiskNotReady, "Unità non pronta!", mb::OKCancel | mb::Exclamation},
    {err::PathFileAccess, "Errore di accesso...", mb::OK | mb::Exclamation},
    {err::PathNotFound, "Percorso inesistente...", mb::OKCancel | mb::Exclamation},
    {err::SaveFailed, "Errore salvando il file...", mb::AbortRetryIgnore | mb::Exclamation},
    {err::LoadFailed, "Errore caricando il file...", mb::AbortRetryIgnore | mb::Exclamation},
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
