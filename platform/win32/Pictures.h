#pragma once

#include "platform/windows/Win32.h"

#include <string>

namespace brenvik::pictures {

// The program's pictures, compiled into the executable as PNG resources drawn at twice their
// natural size (the size they were designed at, for 96 dpi), so that they stay sharp up to 200 %.
// A name without a picture draws nothing.

// The natural size in pixels at 96 dpi; 0 by 0 for a name without a picture.
SIZE naturalSize(const std::string& id);
// Draws the picture into `target` (pixels), blending its transparent parts over what is there.
void draw(HDC dc, const std::string& id, RECT target);
// The picture as an icon of `side` pixels (the caller destroys it); null without a picture.
HICON icon(const std::string& id, int side);

} // namespace brenvik::pictures
