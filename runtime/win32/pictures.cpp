#include "pictures.h"
#include "drawing.h"
#include "text.h"

#include <objbase.h>
#include <wincodec.h>

#include <map>
#include <string>

namespace runtime::win32 {

namespace {

struct Resource
{
    const BYTE *bytes = nullptr;
    DWORD size = 0;
};

// The resource compiler keeps names in upper case; FindResource compares
// them so too, whatever case is asked for.
Resource resourceNamed(std::string_view name)
{
    if (name.empty())
        return {};
    HRSRC found = FindResourceW(nullptr, toWide(name).c_str(), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    if (!loaded)
        return {};
    return {static_cast<const BYTE *>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

template <class T>
struct Com
{
    T *p = nullptr;
    ~Com() { if (p) p->Release(); }
    T **operator&() { return &p; }
    T *operator->() const { return p; }
};

IWICImagingFactory *factory()
{
    // COM is started by run(); the factory lives as long as the program.
    static IWICImagingFactory *made = [] {
        IWICImagingFactory *f = nullptr;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void **>(&f));
        return f;
    }();
    return made;
}

Picture decode(const Resource &resource)
{
    Picture picture;
    IWICImagingFactory *wic = factory();
    if (!wic || !resource.bytes)
        return picture;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(wic->CreateStream(&stream))
            || FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(resource.bytes), resource.size))
            || FAILED(wic->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
            || FAILED(decoder->GetFrame(0, &frame))
            || FAILED(wic->CreateFormatConverter(&converter))
            || FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                            nullptr, 0.0, WICBitmapPaletteTypeCustom))
            || FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return picture;
    const BITMAPINFO info = dibInfo(int(width), int(height));
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return picture;
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE *>(bits)))) {
        DeleteObject(bitmap);
        return picture;
    }
    picture = {bitmap, int(width), int(height)};
    return picture;
}

} // namespace

bool hasPicture(std::string_view name)
{
    return resourceNamed(name).bytes != nullptr;
}

const Picture &picture(std::string_view name)
{
    static std::map<std::wstring, Picture> decoded;
    std::wstring key = toWide(name);
    CharUpperW(key.data());
    auto it = decoded.find(key);
    if (it == decoded.end())
        it = decoded.emplace(key, decode(resourceNamed(name))).first;
    return it->second;
}

void drawPicture(HDC dc, const Picture &picture, int x, int y, int scale)
{
    if (!picture.bitmap)
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture.bitmap);
    // Nearest neighbour: each picture pixel a square of device pixels.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, picture.width * scale, picture.height * scale, source, 0, 0, picture.width,
               picture.height, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

HICON pictureIcon(std::string_view name, int size)
{
    // Shared: the system keeps each size once and frees it with the program.
    return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), toWide(name).c_str(), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace runtime::win32
