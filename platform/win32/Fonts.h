#pragma once

#include "platform/Control.h"
#include "platform/windows/Win32.h"

namespace brenvik::win32fonts {

// A new font (the caller deletes it) for a control's look at a DPI. The default dialog face is
// the system's own dialog font ("MS Shell Dlg", which each Windows maps to its narrow sans serif).
HFONT create(const Font& font, UINT dpi);

} // namespace brenvik::win32fonts
