#include "platform/win32/Fonts.h"

#include <cwchar>

namespace brenvik::win32fonts {

HFONT create(const Font& font, UINT dpi) {
    std::wstring face;
    try {
        face = win::widen(font.face);
    } catch (...) {
    }
    if (face.empty() || _wcsicmp(face.c_str(), L"MS Sans Serif") == 0)
        face = L"MS Shell Dlg";
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.points > 0 ? font.points : 8, static_cast<int>(dpi), 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

} // namespace brenvik::win32fonts
