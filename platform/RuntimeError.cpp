#include "platform/RuntimeError.h"

namespace brenvik {

std::string describeError(int number) {
    switch (number) {
    case err::InvalidArgument:
        return "Chiamata di routine o argomento non validi";
    case err::Overflow:
        return "Overflow";
    case err::TypeMismatch:
        return "Tipo non corrispondente";
    case err::BadFileNameOrNumber:
        return "Nome o numero di file non valido";
    case err::FileNotFound:
        return "Impossibile trovare il file";
    case err::BadFileMode:
        return "Modalità file non valida";
    case err::FileAlreadyOpen:
        return "File già aperto";
    case err::DeviceIo:
        return "Errore di I/O della periferica";
    case err::FileAlreadyExists:
        return "File già esistente";
    case err::DiskFull:
        return "Disco pieno";
    case err::InputPastEnd:
        return "Input oltre la fine del file";
    case err::BadFileName:
        return "Nome file non valido";
    case err::TooManyFiles:
        return "Troppi file";
    case err::DeviceUnavailable:
        return "Periferica non disponibile";
    case err::PermissionDenied:
        return "Autorizzazione negata";
    case err::DiskNotReady:
        return "Disco non pronto";
    case err::PathFileAccess:
        return "Errore di accesso al percorso/file";
    case err::PathNotFound:
        return "Impossibile trovare il percorso";
    case err::InvalidPropertyValue:
        return "Valore della proprietà non valido";
    default:
        return "Errore definito dall'applicazione o dall'oggetto";
    }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, describeError(number)) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(std::to_string(number) + ": " + description), number_(number), description_(description) {}

} // namespace brenvik
