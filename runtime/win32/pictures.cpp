#include "pictures.h"
#include "text.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

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

Image decode(const Resource &resource)
{
    Image picture;
    IWICImagingFactory *wic = factory();
    if (!wic || !resource.bytes)
        return picture;
    Microsoft::WRL::ComPtr<IWICStream> stream;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
    Microsoft::WRL::ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(wic->CreateStream(&stream))
            || FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(resource.bytes), resource.size))
            || FAILED(wic->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
            || FAILED(decoder->GetFrame(0, &frame))
            || FAILED(wic->CreateFormatConverter(&converter))
            || FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                            nullptr, 0.0, WICBitmapPaletteTypeCustom))
            || FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return picture;
    std::vector<uint32_t> pixels(size_t(width) * height);
    const UINT stride = width * 4;
    if (SUCCEEDED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE *>(pixels.data()))))
        picture = {int(width), int(height), std::move(pixels)};
    return picture;
}

} // namespace

bool hasPicture(std::string_view name)
{
    return resourceNamed(name).bytes != nullptr;
}

const Image &picture(std::string_view name)
{
    static std::map<std::wstring, Image> decoded;
    std::wstring key = toWide(name);
    CharUpperW(key.data());
    auto it = decoded.find(key);
    if (it == decoded.end())
        it = decoded.emplace(key, decode(resourceNamed(name))).first;
    return it->second;
}

HICON pictureIcon(std::string_view name, int size)
{
    // Shared: the system keeps each size once and frees it with the program.
    return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), toWide(name).c_str(), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace runtime::win32
