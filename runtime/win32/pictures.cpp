#include "pictures.h"
#include "platform/diagnostics.h"
#include "animation/filereader.h"
#include "text.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
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

// The factory, or why there is none. COM is started by run(); the factory
// lives as long as the program.
IWICImagingFactory *factory(HRESULT &why)
{
    static HRESULT made = E_FAIL;
    static IWICImagingFactory *wic = [] {
        IWICImagingFactory *f = nullptr;
        made = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(&f));
        return f;
    }();
    why = made;
    return wic;
}

// What stopped the decoder, in a user's words, and its code for whoever
// looks it up: the likely ones said here, the rest as Windows says them.
std::string reasonOf(HRESULT hr)
{
    static const struct { HRESULT code; const char *words; } Known[] = {
        {WINCODEC_ERR_COMPONENTNOTFOUND, "not in a format Windows can decode"},
        {WINCODEC_ERR_UNKNOWNIMAGEFORMAT, "not in a format Windows can decode"},
        {WINCODEC_ERR_BADHEADER, "its header is damaged"},
        {WINCODEC_ERR_BADIMAGE, "its picture data is damaged"},
        {WINCODEC_ERR_BADSTREAMDATA, "its picture data is damaged"},
        {WINCODEC_ERR_STREAMREAD, "it ends too soon"},
        {WINCODEC_ERR_FRAMEMISSING, "it holds no picture"},
        {WINCODEC_ERR_IMAGESIZEOUTOFRANGE, "it is too large"},
        {WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, "its pixel format cannot be converted"},
        {REGDB_E_CLASSNOTREG, "the Windows Imaging Component is missing"},
        {E_OUTOFMEMORY, "not enough memory"},
        {E_FAIL, "damaged or cut short"},  // what Wine's decoders say of a damaged file
    };
    std::string words;
    for (const auto &known : Known)
        if (known.code == hr)
            words = known.words;
    if (words.empty())
        words = systemReason(hr);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return words + " (" + code + ")";
}

// The picture's pixels; none, and one line on the error stream, when it
// will not decode.
Image decode(std::string_view name, const Resource &resource)
{
    Image picture;
    HRESULT hr = S_OK;
    IWICImagingFactory *wic = factory(hr);
    if (!resource.bytes)
        return picture;
    Microsoft::WRL::ComPtr<IWICStream> stream;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
    Microsoft::WRL::ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    // Each step only once the one before it went well; hr is the first to fail.
    const auto ok = [&hr](HRESULT step) { return SUCCEEDED(hr = step); };
    if (wic && ok(wic->CreateStream(&stream))
            && ok(stream->InitializeFromMemory(const_cast<BYTE *>(resource.bytes), resource.size))
            && ok(wic->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
            && ok(decoder->GetFrame(0, &frame)) && ok(wic->CreateFormatConverter(&converter))
            && ok(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom))
            && ok(converter->GetSize(&width, &height))) {
        if (width == 0 || height == 0)
            hr = WINCODEC_ERR_FRAMEMISSING;
        else {
            std::vector<uint32_t> pixels(size_t(width) * height);
            const UINT stride = width * 4;
            if (ok(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE *>(pixels.data()))))
                picture = {int(width), int(height), std::move(pixels)};
        }
    }
    if (FAILED(hr))
        printError("the built-in picture " + std::string(name) + " cannot be shown: " + reasonOf(hr));
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
        it = decoded.emplace(key, decode(name, resourceNamed(name))).first;
    return it->second;
}

HICON pictureIcon(std::string_view name, int size)
{
    // Shared: the system keeps each size once and frees it with the program.
    return static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), toWide(name).c_str(), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace runtime::win32
