#include "platform/win32/Pictures.h"

// GDI+, the system's own PNG decoder and scaler, through its flat (C) interface; its headers
// need the COM property types that the lean Win32 headers leave out, included first.
// clang-format off
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>
// clang-format on
#include <map>
#include <shlwapi.h>

namespace brenvik::pictures {

namespace {

using namespace Gdiplus;

struct Picture {
    GpBitmap* bitmap = nullptr;
    SIZE natural{0, 0};
};

void startGdiplus() {
    static const bool started = [] {
        GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return GdiplusStartup(&token, &input, nullptr) == Ok;
    }();
    (void)started;
}

// The pictures are decoded once, at their first use, and kept for the run.
const Picture& load(const std::string& id) {
    static std::map<std::string, Picture> loaded;
    auto it = loaded.find(id);
    if (it != loaded.end())
        return it->second;
    Picture picture;
    // Named PICTURE_ and the picture's name in capitals, which no resource statement takes for a
    // keyword.
    std::wstring name = L"PICTURE_";
    for (char c : id)
        name += static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = id.empty() ? nullptr : FindResourceW(module, name.c_str(), L"PNG");
    HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
    if (data) {
        startGdiplus();
        const auto* bytes = static_cast<const BYTE*>(LockResource(data));
        IStream* stream = SHCreateMemStream(bytes, SizeofResource(module, resource));
        if (stream) {
            if (DllExports::GdipCreateBitmapFromStream(stream, &picture.bitmap) == Ok) {
                UINT width = 0;
                UINT height = 0;
                DllExports::GdipGetImageWidth(picture.bitmap, &width);
                DllExports::GdipGetImageHeight(picture.bitmap, &height);
                picture.natural = SIZE{static_cast<LONG>(width / 2), static_cast<LONG>(height / 2)};
            } else {
                picture.bitmap = nullptr;
            }
            stream->Release();
        }
    }
    return loaded.emplace(id, picture).first->second;
}

} // namespace

SIZE naturalSize(const std::string& id) {
    return load(id).natural;
}

void draw(HDC dc, const std::string& id, RECT target) {
    const Picture& picture = load(id);
    if (!picture.bitmap)
        return;
    GpGraphics* graphics = nullptr;
    if (DllExports::GdipCreateFromHDC(dc, &graphics) != Ok)
        return;
    DllExports::GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
    DllExports::GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
    DllExports::GdipDrawImageRectI(graphics, picture.bitmap, target.left, target.top, target.right - target.left,
                                   target.bottom - target.top);
    DllExports::GdipDeleteGraphics(graphics);
}

HICON icon(const std::string& id, int side) {
    // A picture may have a version drawn for 16 pixels, clearer at that size than the large one
    // scaled down.
    const Picture& small = load(id + "_16");
    const Picture& picture = side <= 20 && small.bitmap ? small : load(id);
    if (!picture.bitmap || side <= 0)
        return nullptr;
    GpBitmap* canvas = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(side, side, 0, PixelFormat32bppARGB, nullptr, &canvas) != Ok)
        return nullptr;
    GpGraphics* graphics = nullptr;
    HICON result = nullptr;
    if (DllExports::GdipGetImageGraphicsContext(canvas, &graphics) == Ok) {
        DllExports::GdipSetInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
        DllExports::GdipSetPixelOffsetMode(graphics, PixelOffsetModeHalf);
        DllExports::GdipGraphicsClear(graphics, 0);
        DllExports::GdipDrawImageRectI(graphics, picture.bitmap, 0, 0, side, side);
        DllExports::GdipDeleteGraphics(graphics);
        DllExports::GdipCreateHICONFromBitmap(canvas, &result);
    }
    DllExports::GdipDisposeImage(canvas);
    return result;
}

} // namespace brenvik::pictures
