// velquin_preview_bench
// Prints how long the decoding paths take on valid files (median of several runs): the
// picture preview (load and draw a 1920 x 1080 bitmap, JPEG and GIF), the icon preview (the
// shell's icon of an icon file, a program and the system's icon library) and the icon
// chooser (open the system's icon library and read every icon at 32 pixels). Run by hand:
//   wine build/bench/velquin_preview_bench.exe
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "main_window/icon_source.h"
#include "picker/image_control.h"
#include "picker/module1.h"
#include "picker/picture.h"
#include "platform/core/unique_handle.h"

namespace {

constexpr int kRuns = 15;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double Median(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double start = bench::Now();
        work();
        times.push_back(bench::Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A colour gradient, so the encoders have real work to do.
std::vector<BYTE> Pixels() {
    std::vector<BYTE> bgr(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            BYTE* p = &bgr[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<BYTE>(x);
            p[1] = static_cast<BYTE>(y);
            p[2] = static_cast<BYTE>(x ^ y);
        }
    return bgr;
}

bool WriteFile(const std::wstring& path, const void* data, size_t size) {
    platform::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

bool WriteBmp(const std::wstring& path, const std::vector<BYTE>& bgr) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const DWORD stride = kWidth * 3;  // 1920 * 3 is a multiple of 4
    info.biSize = sizeof(info);
    info.biWidth = kWidth;
    info.biHeight = -kHeight;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * kHeight;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes.append(reinterpret_cast<const char*>(bgr.data()), bgr.size());
    return WriteFile(path, bytes.data(), bytes.size());
}

// Encodes the pixels with the system's encoder for `format` (JPEG, GIF).
bool WriteEncoded(const std::wstring& path, const GUID& format, std::vector<BYTE> bgr) {
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICBitmapEncoder> encoder;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapFrameEncode> frame;
    platform::ComPtr<IWICBitmap> bitmap;
    platform::ComPtr<IWICFormatConverter> converter;
    WICPixelFormatGUID pixel = format == GUID_ContainerFormatGif ? GUID_WICPixelFormat8bppIndexed
                                                                 : GUID_WICPixelFormat24bppBGR;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.put_void())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(format, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) ||
        FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(kWidth, kHeight)) ||
        FAILED(frame->SetPixelFormat(&pixel)) ||
        FAILED(factory->CreateBitmapFromMemory(kWidth, kHeight, GUID_WICPixelFormat24bppBGR,
                                               kWidth * 3, static_cast<UINT>(bgr.size()),
                                               bgr.data(), bitmap.put())))
        return false;
    HRESULT hr;
    if (pixel == GUID_WICPixelFormat24bppBGR) {
        hr = frame->WriteSource(bitmap.get(), nullptr);
    } else {
        platform::ComPtr<IWICPalette> palette;
        if (FAILED(factory->CreatePalette(palette.put())) ||
            FAILED(palette->InitializePredefined(WICBitmapPaletteTypeFixedWebPalette, FALSE)) ||
            FAILED(factory->CreateFormatConverter(converter.put())) ||
            FAILED(converter->Initialize(bitmap.get(), pixel, WICBitmapDitherTypeNone,
                                         palette.get(), 0, WICBitmapPaletteTypeFixedWebPalette)) ||
            FAILED(frame->SetPalette(palette.get())))
            return false;
        hr = frame->WriteSource(converter.get(), nullptr);
    }
    return SUCCEEDED(hr) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// An icon file of one 32 x 32, 32-bit image.
bool WriteIco(const std::wstring& path) {
    const DWORD colour = 32 * 32 * 4, mask = 32 * 4;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = 32;
    info.biHeight = 64;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD imageSize = sizeof(info) + colour + mask;
    const WORD header[3] = {0, 1, 1};
    BYTE entry[16] = {32, 32, 0, 0, 1, 0, 32, 0};
    const DWORD place[2] = {imageSize, sizeof(header) + sizeof(entry)};
    memcpy(entry + 8, place, sizeof(place));
    std::string bytes(reinterpret_cast<const char*>(header), sizeof(header));
    bytes.append(reinterpret_cast<const char*>(entry), sizeof(entry));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes.append(colour, '\x80');
    bytes.append(mask, '\0');
    return WriteFile(path, bytes.data(), bytes.size());
}

HWND CreateHost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelquinPreviewBenchHost";
    ::RegisterClassW(&wc);
    return ::CreateWindowW(wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

}  // namespace

int wmain() {
    ::OleInitialize(nullptr);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"velquin-preview-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<BYTE> bgr = Pixels();
    const std::wstring bmp = folder + L"\\photo.bmp", jpg = folder + L"\\photo.jpg",
                       gif = folder + L"\\photo.gif";
    if (!WriteBmp(bmp, bgr) || !WriteEncoded(jpg, GUID_ContainerFormatJpeg, bgr) ||
        !WriteEncoded(gif, GUID_ContainerFormatGif, bgr)) {
        std::printf("Could not write the pictures to %ls.\n", folder.c_str());
        return 1;
    }
    HWND host = CreateHost();
    picker::ImageControl image;
    if (!host || !image.Create(host, 1, RECT{0, 0, 305, 265}, 96)) {
        std::printf("Could not create the preview control.\n");
        return 1;
    }
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    platform::UniqueBitmap canvas(::CreateCompatibleBitmap(screen, 305, 265));
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, canvas.get());

    std::printf("Picture preview, %d x %d, load and draw at 305 x 265 (median of %d):\n", kWidth,
                kHeight, kRuns);
    for (const std::wstring& path : {bmp, jpg, gif}) {
        double ms = Median([&] {
            platform::ComPtr<IPicture> picture;
            picker::LoadPictureFile(path, picture);
            picker::DrawPicture(picture.get(), dc, RECT{0, 0, 305, 265});
            if (!picture)
                std::printf("  %ls did not load\n", path.c_str());
        });
        std::printf("  %-12ls %8.2f ms\n", path.substr(folder.size() + 1).c_str(), ms);
    }

    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring shell32 = std::wstring(system) + L"\\shell32.dll";
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring icon = folder + L"\\program.ico";
    if (!WriteIco(icon)) {
        std::printf("Could not write %ls.\n", icon.c_str());
        return 1;
    }
    std::printf("\nIcon preview, the shell's icon at its size (median of %d):\n", kRuns);
    for (const std::wstring& path : {icon, std::wstring(self), shell32}) {
        double ms = Median([&] { picker::ShowFileIcon(path, image); });
        std::printf("  %-40ls %8.2f ms\n", path.substr(path.rfind(L'\\') + 1).c_str(), ms);
    }

    std::printf("\nIcon chooser, open and read every icon at 32 pixels (median of %d):\n", kRuns);
    for (const std::wstring& path : {icon, shell32}) {
        int count = 0;
        double ms = Median([&] {
            main_window::IconSource source;
            source.Open(path);
            count = source.Count();
            for (int i = 0; i < count; ++i)
                source.Load(i, 32);
        });
        std::printf("  %-14ls %4d icons %8.2f ms\n", path.substr(path.rfind(L'\\') + 1).c_str(),
                    count, ms);
    }

    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DestroyWindow(host);
    for (const std::wstring& path : {bmp, jpg, gif, icon})
        ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return 0;
}
