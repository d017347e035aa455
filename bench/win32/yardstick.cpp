// The Windows yardstick: the plainest Win32 program doing VELK-Simulator's
// job, without the forms runtime, as the floor any program of this kind
// pays under the same system. bench/run.sh runs it beside the .exe under
// Wine and divides.
//
// A 324 x 270 window with a text box and two buttons; "I Agree" hides it
// and opens a borderless 1024 x 768 window with the four panel pictures
// (the program's own files, RCDATA resources decoded with WIC, as the
// program does) and two readouts that a 1 ms timer copies from two hidden
// text boxes. The zones the bench clicks are tested at the program's
// coordinates: power (writes "000" and shows the normal mode picture),
// normal, the voice box, and exit.
//
// The voice box is the GIF beside the program shown the plainest Win32
// way: decoded once with WIC when first shown, each frame composed whole
// into a bitmap of its own, one timer set to each frame's delay, and the
// frame BitBlt at each paint; paused while hidden.
#define UNICODE
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <string>
#include <vector>

namespace {

struct Picture
{
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
};

struct Placed
{
    const wchar_t *name;
    RECT box;  // where it is drawn from, and clipped to
    Picture picture;
};

Placed pictures[] = {
    {L"LEFTPANEL", {-119, 249, 384, 456}, {}},
    {L"RIGHTPANEL", {529, 257, 1024, 464}, {}},
    {L"LEFTCONSOLE", {17, 465, 192, 768}, {}},
    {L"RIGHTCONSOLE", {809, 457, 1016, 768}, {}},
    {L"MODENORMAL", {353, 265, 536, 456}, {}},  // shown while the power is on
};
const RECT Power{825, 393, 858, 450}, Normal{881, 393, 906, 450}, VoiceButton{921, 329, 1010, 354},
    Exit{1000, 0, 1025, 25};
const RECT Readouts[2] = {{209, 297, 314, 354}, {657, 305, 754, 354}};
const RECT VoiceBox{361, 265, 528, 456};  // where the program's clip box shows its 167 x 191
constexpr UINT_PTR ReadoutTimer = 1, FrameTimer = 2;

HWND disclaimer, dashboard, sources[2];
std::wstring shown[2] = {L"000", L"000"};
HFONT readoutFonts[2];
bool powered = false, normalShown = false, voiceShown = false;
IWICImagingFactory *wic = nullptr;

struct VoiceFrame
{
    HBITMAP bitmap;
    UINT delayMs;
};
std::vector<VoiceFrame> voiceFrames;  // decoded when first shown
size_t voiceAt = 0;

template <class... T> void release(T *...u)
{
    ((u ? u->Release() : 0), ...);
}

UINT metadata(IWICMetadataQueryReader *reader, const wchar_t *name)
{
    PROPVARIANT v;
    PropVariantInit(&v);
    UINT n = 0;
    if (reader && SUCCEEDED(reader->GetMetadataByName(name, &v)))
        n = v.vt == VT_UI1 ? v.bVal : v.vt == VT_UI2 ? v.uiVal : 0;
    PropVariantClear(&v);
    return n;
}

// Every frame over the ones before it, as the GIF's disposal says, on black;
// a delay under 20 ms is taken as unset (100 ms), as the program does.
void decodeVoiceBox()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"velk voicebox.gif";
    IWICBitmapDecoder *decoder = nullptr;
    IWICMetadataQueryReader *reader = nullptr;
    if (FAILED(wic->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad,
                                              &decoder)))
        return;
    decoder->GetMetadataQueryReader(&reader);
    const UINT w = metadata(reader, L"/logscrdesc/Width"), h = metadata(reader, L"/logscrdesc/Height");
    release(reader);
    UINT count = 0;
    decoder->GetFrameCount(&count);
    std::vector<UINT32> canvas(size_t(w) * h, 0xFF000000), before, pixels;
    for (UINT i = 0; i < count; ++i) {
        IWICBitmapFrameDecode *frame = nullptr;
        IWICFormatConverter *converter = nullptr;
        UINT fw = 0, fh = 0;
        reader = nullptr;
        if (FAILED(decoder->GetFrame(i, &frame)) || FAILED(frame->GetMetadataQueryReader(&reader))
                || FAILED(wic->CreateFormatConverter(&converter))
                || FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                                0, WICBitmapPaletteTypeCustom))
                || FAILED(converter->GetSize(&fw, &fh))) {
            release(converter, reader, frame);
            break;
        }
        const UINT left = metadata(reader, L"/imgdesc/Left"), top = metadata(reader, L"/imgdesc/Top");
        const UINT delay = metadata(reader, L"/grctlext/Delay") * 10, disposal = metadata(reader, L"/grctlext/Disposal");
        pixels.assign(size_t(fw) * fh, 0);
        converter->CopyPixels(nullptr, fw * 4, fw * fh * 4, reinterpret_cast<BYTE *>(pixels.data()));
        release(converter, reader, frame);
        if (disposal == 3)
            before = canvas;
        for (UINT y = 0; y < fh && top + y < h; ++y)
            for (UINT x = 0; x < fw && left + x < w; ++x)
                if (const UINT32 p = pixels[size_t(y) * fw + x]; p >> 24)
                    canvas[size_t(top + y) * w + left + x] = p;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        CopyMemory(bits, canvas.data(), canvas.size() * 4);
        voiceFrames.push_back({bitmap, delay < 20 ? 100 : delay});
        if (disposal == 2)
            for (UINT y = top; y < top + fh && y < h; ++y)
                for (UINT x = left; x < left + fw && x < w; ++x)
                    canvas[size_t(y) * w + x] = 0xFF000000;
        else if (disposal == 3)
            canvas = before;
    }
    release(decoder);
}

void showVoiceBox(HWND window, bool show)
{
    if (show && voiceFrames.empty())
        decodeVoiceBox();
    voiceShown = show && !voiceFrames.empty();
    if (voiceShown && voiceFrames.size() > 1)
        SetTimer(window, FrameTimer, voiceFrames[voiceAt].delayMs, nullptr);
    else
        KillTimer(window, FrameTimer);
    InvalidateRect(window, &VoiceBox, FALSE);
}

Picture decode(IWICImagingFactory *wic, const wchar_t *name)
{
    Picture p;
    HRSRC found = FindResourceW(nullptr, name, RT_RCDATA);
    auto *bytes = static_cast<BYTE *>(LockResource(LoadResource(nullptr, found)));
    IWICStream *stream = nullptr;
    IWICBitmapDecoder *decoder = nullptr;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICFormatConverter *converter = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(wic->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromMemory(bytes, SizeofResource(nullptr, found)))
            && SUCCEEDED(wic->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
            && SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(wic->CreateFormatConverter(&converter))
            && SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                               WICBitmapPaletteTypeCustom))
            && SUCCEEDED(converter->GetSize(&w, &h))) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void *bits = nullptr;
        p.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE *>(bits));
        p.width = int(w);
        p.height = int(h);
    }
    for (IUnknown *u : {static_cast<IUnknown *>(converter), static_cast<IUnknown *>(frame),
                        static_cast<IUnknown *>(decoder), static_cast<IUnknown *>(stream)})
        if (u)
            u->Release();
    return p;
}

void paintDashboard(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    // Drawn off screen, only as large as the part to paint: a voice box
    // frame is not a whole window's worth.
    const RECT &d = ps.rcPaint;
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP surface = CreateCompatibleBitmap(dc, d.right - d.left, d.bottom - d.top);
    SelectObject(buffer, surface);
    SetViewportOrgEx(buffer, -d.left, -d.top, nullptr);
    FillRect(buffer, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HDC source = CreateCompatibleDC(dc);
    for (const Placed &p : pictures) {
        if (!p.picture.bitmap || (&p == &pictures[4] && !normalShown))
            continue;
        SelectObject(source, p.picture.bitmap);
        const RECT &b = p.box;
        SaveDC(buffer);
        IntersectClipRect(buffer, b.left, b.top, b.right, b.bottom);
        BitBlt(buffer, b.left, b.top, p.picture.width, p.picture.height, source, 0, 0, SRCCOPY);
        RestoreDC(buffer, -1);
    }
    if (voiceShown) {
        SelectObject(source, voiceFrames[voiceAt].bitmap);
        const RECT &b = VoiceBox;
        BitBlt(buffer, b.left, b.top, b.right - b.left, b.bottom - b.top, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
    SetTextColor(buffer, RGB(255, 0, 0));
    SetBkMode(buffer, TRANSPARENT);
    for (int i = 0; i < 2; ++i) {
        RECT r = Readouts[i];
        SelectObject(buffer, readoutFonts[i]);
        DrawTextW(buffer, shown[i].c_str(), int(shown[i].size()), &r, DT_CENTER | DT_TOP | DT_WORDBREAK);
    }
    BitBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, buffer, d.left, d.top, SRCCOPY);
    DeleteDC(buffer);
    DeleteObject(surface);
    EndPaint(window, &ps);
}

LRESULT CALLBACK dashboardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paintDashboard(window);
        return 0;
    case WM_TIMER:
        if (wParam == FrameTimer) {
            voiceAt = (voiceAt + 1) % voiceFrames.size();
            SetTimer(window, FrameTimer, voiceFrames[voiceAt].delayMs, nullptr);
            InvalidateRect(window, &VoiceBox, FALSE);
            return 0;
        }
        // The readouts follow their hidden sources; only a change repaints.
        for (int i = 0; i < 2; ++i) {
            wchar_t text[16];
            GetWindowTextW(sources[i], text, 16);
            if (shown[i] != text) {
                shown[i] = text;
                InvalidateRect(window, &Readouts[i], FALSE);
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        const POINT at{LOWORD(lParam), HIWORD(lParam)};
        if (PtInRect(&Exit, at)) {
            PostQuitMessage(0);
        } else if (PtInRect(&Power, at) || PtInRect(&Normal, at) || PtInRect(&VoiceButton, at)) {
            if (PtInRect(&Power, at)) {
                powered = !powered;
                for (HWND s : sources)
                    SetWindowTextW(s, powered ? L"000" : L"");
            }
            normalShown = PtInRect(&Power, at) ? powered : PtInRect(&Normal, at);
            showVoiceBox(window, PtInRect(&VoiceButton, at));
            InvalidateRect(window, &pictures[4].box, FALSE);
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK disclaimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == 101) {  // I Agree
        ShowWindow(disclaimer, SW_HIDE);
        ShowWindow(dashboard, SW_SHOW);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 102)  // I Do Not Agree
        PostQuitMessage(0);
    if (message == WM_CLOSE)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND child(const wchar_t *cls, const wchar_t *text, DWORD style, RECT r, HWND parent, int id, HFONT font)
{
    HWND w = CreateWindowExW(0, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return w;
}

} // namespace

int main()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void **>(&wic));
    for (Placed &p : pictures)
        p.picture = decode(wic, p.name);

    WNDCLASSW c = {};
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpfnWndProc = disclaimerProc;
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = L"YardstickDisclaimer";
    RegisterClassW(&c);
    c.lpfnWndProc = dashboardProc;
    c.hbrBackground = nullptr;
    c.lpszClassName = L"YardstickDashboard";
    RegisterClassW(&c);

    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    readoutFonts[0] = CreateFontW(-37, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    readoutFonts[1] = CreateFontW(-35, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");

    RECT frame{0, 0, 324, 270};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    disclaimer = CreateWindowW(L"YardstickDisclaimer", L"Yardstick", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                               nullptr, nullptr, nullptr, nullptr);
    child(L"EDIT", L"WARNING!!\r\n\r\nThis is not a new version of the VELK-Simulator!",
          WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, {8, 32, 321, 161}, disclaimer, 100, font);
    child(L"BUTTON", L"I Agree", WS_VISIBLE | WS_TABSTOP, {8, 168, 105, 201}, disclaimer, 101, font);
    child(L"BUTTON", L"I Do Not Agree", WS_VISIBLE | WS_TABSTOP, {224, 168, 321, 201}, disclaimer, 102, font);

    dashboard = CreateWindowExW(WS_EX_TOOLWINDOW, L"YardstickDashboard", L"Yardstick dashboard",
                                WS_POPUP | WS_CLIPCHILDREN, (GetSystemMetrics(SM_CXSCREEN) - 1024) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - 768) / 2, 1024, 768, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 2; ++i)
        sources[i] = child(L"EDIT", L"", ES_READONLY, {0, 0, 10, 10}, dashboard, 200 + i, font);
    SetWindowTextW(sources[0], L"");
    SetWindowTextW(sources[1], L"");
    SetTimer(dashboard, ReadoutTimer, 1, nullptr);

    ShowWindow(disclaimer, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(disclaimer, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}
