#pragma once

#include "platform/Desktop.h"

namespace brenvik {

// The answer of a user who lets every box go ahead without reading it: the first button, except
// Annulla where the other button tries again (retrying a fault that stays would never end; an
// error's OK means try again, as its Riprova does).
inline int unattendedAnswer(int flags) {
    switch (flags & mb::ButtonsMask) {
    case mb::AbortRetryIgnore:
        return mb::IdAbort;
    case mb::YesNo:
    case mb::YesNoCancel:
        return mb::IdYes;
    case mb::RetryCancel:
    case mb::OKCancel:
        return mb::IdCancel;
    default:
        return mb::IdOK;
    }
}

} // namespace brenvik
