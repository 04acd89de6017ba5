#pragma once

#include "platform/Control.h"

#include <QFont>

namespace brenvik {

// The host font nearest to a control's font: the default dialog font (an empty face) is a plain
// sans-serif face at the given size, "Fixedsys" a fixed-pitch face at the given size, and any
// other face is asked for by name with the sans-serif faces behind it.
QFont toQFont(const Font& font);

} // namespace brenvik
