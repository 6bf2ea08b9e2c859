// velquin_icon_bench: the icon maker against the system alone, side by side in one run.
//  - A 4,000 x 3,000 JPEG made into an icon, against decoding that JPEG with WIC alone into
//    one 32-bit buffer (48 MB): time (best of a few runs) and peak memory.
//  - One coloured folder icon made, against loading the system's folder icon alone.
//  - The same icon made with a mark and without, in turns in one process (target: the mark
//    adds at most 20 %).
// Each figure's memory is measured in a process of its own (this program started again with
// the phase's name), as the growth of its peak working set. Run by hand:
//   wine build/bench/velquin_icon_bench.exe
#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "icon_maker/icon_maker.h"
#include "platform/core/unique_handle.h"
#include "quiet_process.h"

namespace {

using bench::Now;
using platform::ComPtr;

constexpr UINT kWidth = 4000, kHeight = 3000;
constexpr int kRuns = 3;
constexpr int kColourRuns = 20;
constexpr int kMarkTurns = 60;  // a busy machine needs more turns for a steady best

double Best(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

// The processor time this thread spent on work, in milliseconds (the clock's ticks are
// coarse: sum many).
double ThreadMs(const std::function<void()>& work) {
    auto used = [] {
        FILETIME created, ended, kernel, user;
        ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
        auto ticks = [](FILETIME t) {
            return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return (ticks(kernel) + ticks(user)) / 10000.0;
    };
    const double start = used();
    work();
    return used() - start;
}

SIZE_T WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// A photo-like JPEG: smooth gradients with fine detail, so the decoder has real work.
HRESULT WriteJpeg(const std::wstring& path) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.put()));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr))
        hr = factory->CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    ComPtr<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(frame.put(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(kWidth, kHeight);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    std::vector<BYTE> row(kWidth * 3);
    for (UINT y = 0; SUCCEEDED(hr) && y < kHeight; ++y) {
        for (UINT x = 0; x < kWidth; ++x) {
            row[x * 3] = static_cast<BYTE>(x * 255 / kWidth);
            row[x * 3 + 1] = static_cast<BYTE>(y * 255 / kHeight);
            row[x * 3 + 2] = static_cast<BYTE>(((x / 3) ^ (y / 3)) & 0x3F);
        }
        hr = frame->WritePixels(1, kWidth * 3, kWidth * 3, row.data());
    }
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    return hr;
}

// WIC alone: the JPEG decoded into one 32-bit premultiplied buffer, as a viewer would.
void DecodeAlone(const std::wstring& path) {
    ComPtr<IWICImagingFactory> factory;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_PPV_ARGS(factory.put()));
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom))) {
        std::printf("decoding failed\n");
        return;
    }
    std::vector<BYTE> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    converter->CopyPixels(nullptr, kWidth * 4, static_cast<UINT>(pixels.size()), pixels.data());
}

void LoadSystemFolderIcon() {
    SHSTOCKICONINFO info{sizeof info};
    ::SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICONLOCATION, &info);
    HICON icon = nullptr;
    UINT id = 0;
    ::PrivateExtractIconsW(info.szPath, info.iIcon, 256, 256, &icon, &id, 1, 0);
    platform::UniqueIcon owned(icon);
}

// One phase in this process: its best time and its peak working set's growth.
int RunPhase(const std::wstring& phase, const std::wstring& jpeg) {
    const SIZE_T before = WorkingSet(false);
    double ms = 0;
    if (phase == L"decode")
        ms = Best(kRuns, [&] { DecodeAlone(jpeg); });
    else if (phase == L"make")
        ms = Best(kRuns, [&] {
            if (!icon_maker::MakeFromPicture(jpeg).ok)
                std::printf("making failed\n");
        });
    else if (phase == L"system-icon")
        ms = Best(kColourRuns, LoadSystemFolderIcon);
    else if (phase == L"colour")
        ms = Best(kColourRuns, [] { icon_maker::MakeColouredFolder({0xeb, 0, 0}); });
    double plainMs = 0;
    if (phase == L"marked") {
        // In turns with the plain icon, and as this thread's processor time rather than the
        // clock's, so the other programs of a busy machine weigh on neither.
        double plainTotal = 0, markedTotal = 0;
        for (int i = 0; i < kMarkTurns; ++i) {
            plainTotal += ThreadMs([] { icon_maker::MakeColouredFolder({0xeb, 0, 0}); });
            markedTotal += ThreadMs([] {
                // The mark with the most shapes to measure.
                icon_maker::MakeColouredFolder({0xeb, 0, 0}, icon_maker::Mark::Private);
            });
        }
        plainMs = plainTotal / kMarkTurns;
        ms = markedTotal / kMarkTurns;
    }
    std::printf("%.1f %.1f %.1f\n", ms, (WorkingSet(true) - before) / 1048576.0, plainMs);
    return 0;
}

// Starts this program for one phase and reads its two figures.
bool Phase(const std::wstring& phase, const std::wstring& jpeg, double& ms, double& mb,
           double* plainMs = nullptr) {
    std::string out;
    if (!bench::OutputOfSelf(phase + L" \"" + jpeg + L"\"", out))
        return false;
    double plain = 0;
    const bool parsed = std::sscanf(out.c_str(), "%lf %lf %lf", &ms, &mb, &plain) == 3;
    if (plainMs)
        *plainMs = plain;
    return parsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    if (argc == 3)
        return RunPhase(argv[1], argv[2]);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring jpeg = std::wstring(temp) + L"velquin-bench-4000x3000.jpg";
    if (FAILED(WriteJpeg(jpeg))) {
        std::printf("could not write the JPEG\n");
        return 1;
    }
    double decodeMs = 0, decodeMb = 0, makeMs = 0, makeMb = 0;
    double systemMs = 0, systemMb = 0, colourMs = 0, colourMb = 0, markedMs = 0, markedMb = 0;
    double plainMs = 0;
    const bool ok = Phase(L"decode", jpeg, decodeMs, decodeMb) &&
                    Phase(L"make", jpeg, makeMs, makeMb) &&
                    Phase(L"system-icon", jpeg, systemMs, systemMb) &&
                    Phase(L"colour", jpeg, colourMs, colourMb) &&
                    Phase(L"marked", jpeg, markedMs, markedMb, &plainMs);
    ::DeleteFileW(jpeg.c_str());
    if (!ok) {
        std::printf("a phase failed\n");
        return 1;
    }
    std::printf("4,000 x 3,000 JPEG (best of %d)        time      peak memory\n", kRuns);
    std::printf("  WIC decode alone (48 MB buffer)  %8.1f ms  %8.1f MB\n", decodeMs, decodeMb);
    std::printf("  icon made from it                %8.1f ms  %8.1f MB\n", makeMs, makeMb);
    std::printf("  ratio                            %8.2f x   (target <= 1.5 x; memory <= 96 MB)\n",
                makeMs / decodeMs);
    std::printf("Coloured folder icon (best of %d)\n", kColourRuns);
    std::printf("  system folder icon loaded alone  %8.1f ms  %8.1f MB\n", systemMs, systemMb);
    std::printf("  coloured folder icon made        %8.1f ms  %8.1f MB\n", colourMs, colourMb);
    std::printf(
        "Coloured folder icon with a mark, in turns with one without (processor time,\n"
        "average of %d each)\n",
        kMarkTurns);
    std::printf("  without a mark                   %8.1f ms\n", plainMs);
    std::printf("  with a mark                      %8.1f ms  %8.1f MB\n", markedMs, markedMb);
    std::printf("  the mark adds                    %8.1f %%     (target <= 20 %%)\n",
                (markedMs / plainMs - 1) * 100);
    ::CoUninitialize();
    return 0;
}
