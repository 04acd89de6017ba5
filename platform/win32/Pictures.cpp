#include "platform/win32/Pictures.h"

// GDI+, the system's own PNG decoder and scaler, through its flat (C) interface; its headers
// need the COM property types that the lean Win32 headers leave out, included first.
// clang-format off
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>
// clang-format on
#include <cstring>
#include <map>
#include <shlwapi.h>

namespace brenvik::pictures {

namespace {

using namespace Gdiplus;

struct Picture {
    GpBitmap* bitmap = nullptr;
    SIZE natural{0, 0};
};

// GDI+ is not among the DLLs the system always takes from its own folder: imported, it would be
// searched for beside the program first, where a copy planted in a downloads folder would be
// loaded in its place. It is loaded from the system's folder alone, once started.
struct GdiPlus {
    decltype(&GdiplusStartup) startup;
    decltype(&DllExports::GdipCreateBitmapFromStream) createBitmapFromStream;
    decltype(&DllExports::GdipGetImageWidth) imageWidth;
    decltype(&DllExports::GdipGetImageHeight) imageHeight;
    decltype(&DllExports::GdipCreateFromHDC) createFromHdc;
    decltype(&DllExports::GdipSetInterpolationMode) setInterpolationMode;
    decltype(&DllExports::GdipSetPixelOffsetMode) setPixelOffsetMode;
    decltype(&DllExports::GdipDrawImageRectI) drawImageRect;
    decltype(&DllExports::GdipDeleteGraphics) deleteGraphics;
    decltype(&DllExports::GdipCreateBitmapFromScan0) createBitmap;
    decltype(&DllExports::GdipGetImageGraphicsContext) imageGraphics;
    decltype(&DllExports::GdipGraphicsClear) clear;
    decltype(&DllExports::GdipCreateHICONFromBitmap) iconFromBitmap;
    decltype(&DllExports::GdipDisposeImage) disposeImage;
};

// Null where GDI+ cannot be had: the pictures are then left out, and the window works without.
const GdiPlus* gdiPlus() {
    static const GdiPlus* started = []() -> const GdiPlus* {
        HMODULE module = LoadLibraryExW(L"gdiplus.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module)
            return nullptr;
        static GdiPlus g;
        bool found = true;
        const auto bind = [module, &found](auto& function, const char* name) {
            const FARPROC address = GetProcAddress(module, name);
            std::memcpy(&function, &address, sizeof function);
            found = found && address;
        };
        bind(g.startup, "GdiplusStartup");
        bind(g.createBitmapFromStream, "GdipCreateBitmapFromStream");
        bind(g.imageWidth, "GdipGetImageWidth");
        bind(g.imageHeight, "GdipGetImageHeight");
        bind(g.createFromHdc, "GdipCreateFromHDC");
        bind(g.setInterpolationMode, "GdipSetInterpolationMode");
        bind(g.setPixelOffsetMode, "GdipSetPixelOffsetMode");
        bind(g.drawImageRect, "GdipDrawImageRectI");
        bind(g.deleteGraphics, "GdipDeleteGraphics");
        bind(g.createBitmap, "GdipCreateBitmapFromScan0");
        bind(g.imageGraphics, "GdipGetImageGraphicsContext");
        bind(g.clear, "GdipGraphicsClear");
        bind(g.iconFromBitmap, "GdipCreateHICONFromBitmap");
        bind(g.disposeImage, "GdipDisposeImage");
        GdiplusStartupInput input;
        ULONG_PTR token = 0;
        if (!found || g.startup(&token, &input, nullptr) != Ok)
            return nullptr;
        return &g;
    }();
    return started;
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
    const GdiPlus* g = gdiPlus();
    if (data && g) {
        const auto* bytes = static_cast<const BYTE*>(LockResource(data));
        IStream* stream = SHCreateMemStream(bytes, SizeofResource(module, resource));
        if (stream) {
            if (g->createBitmapFromStream(stream, &picture.bitmap) == Ok) {
                UINT width = 0;
                UINT height = 0;
                g->imageWidth(picture.bitmap, &width);
                g->imageHeight(picture.bitmap, &height);
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
    const GdiPlus* g = gdiPlus();
    if (!picture.bitmap || !g)
        return;
    GpGraphics* graphics = nullptr;
    if (g->createFromHdc(dc, &graphics) != Ok)
        return;
    g->setInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
    g->setPixelOffsetMode(graphics, PixelOffsetModeHalf);
    g->drawImageRect(graphics, picture.bitmap, target.left, target.top, target.right - target.left,
                     target.bottom - target.top);
    g->deleteGraphics(graphics);
}

HICON icon(const std::string& id, int side) {
    // A picture may have a version drawn for 16 pixels, clearer at that size than the large one
    // scaled down.
    const Picture& small = load(id + "_16");
    const Picture& picture = side <= 20 && small.bitmap ? small : load(id);
    const GdiPlus* g = gdiPlus();
    if (!picture.bitmap || side <= 0 || !g)
        return nullptr;
    GpBitmap* canvas = nullptr;
    if (g->createBitmap(side, side, 0, PixelFormat32bppARGB, nullptr, &canvas) != Ok)
        return nullptr;
    GpGraphics* graphics = nullptr;
    HICON result = nullptr;
    if (g->imageGraphics(canvas, &graphics) == Ok) {
        g->setInterpolationMode(graphics, InterpolationModeHighQualityBicubic);
        g->setPixelOffsetMode(graphics, PixelOffsetModeHalf);
        g->clear(graphics, 0);
        g->drawImageRect(graphics, picture.bitmap, 0, 0, side, side);
        g->deleteGraphics(graphics);
        g->iconFromBitmap(canvas, &result);
    }
    g->disposeImage(canvas);
    return result;
}

} // namespace brenvik::pictures
