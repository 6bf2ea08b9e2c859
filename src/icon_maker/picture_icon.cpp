// An icon from a picture: decoded by WIC a strip at a time straight into the 256 px master,
// so even a large photo is never held whole in Velquin's memory.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <span>

#include "icon_maker/area_scaler.h"
#include "icon_maker/icon_parts.h"
#include "icon_maker/recipe.h"
#include "platform/core/content_checks.h"
#include "platform/core/unique_handle.h"

namespace icon_maker {
namespace {

using platform::ComPtr;

constexpr int kMasterSide = 256;
constexpr UINT kStripRows = 64;
constexpr wchar_t kCannotDecode[] = L"Could not read the picture.";
constexpr wchar_t kTooLarge[] = L"The picture is too large to make an icon from.";

MadeIcon Failed(const wchar_t* what, const std::wstring& path, const std::wstring& reason) {
    MadeIcon made;
    made.failure = {what, path, reason};
    return made;
}

// The whole file, read once: checked, then decoded from memory. A file larger than the
// largest decoded picture is refused unread.
HRESULT ReadPictureFile(const std::wstring& path, std::string& bytes, bool& tooLarge) {
    platform::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size))
        return HRESULT_FROM_WIN32(::GetLastError());
    tooLarge = static_cast<UINT64>(size.QuadPart) > kMostDecodedBytes;
    if (tooLarge)
        return S_OK;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size()))
        return got != bytes.size() ? HRESULT_FROM_WIN32(ERROR_HANDLE_EOF)
                                   : HRESULT_FROM_WIN32(::GetLastError());
    return S_OK;
}

// "the file is cut short" as a sentence: "The file is cut short."
std::wstring Sentence(const wchar_t* refusal) {
    std::wstring text = refusal;
    if (!text.empty() && text[0] >= L'a' && text[0] <= L'z')
        text[0] = static_cast<wchar_t>(text[0] - L'a' + L'A');
    return text + L".";
}

// The frame to use: the largest image of an icon file, the first of anything else.
HRESULT ChooseFrame(IWICBitmapDecoder* decoder, ComPtr<IWICBitmapFrameDecode>& frame) {
    GUID container{};
    UINT count = 0;
    HRESULT hr = decoder->GetContainerFormat(&container);
    if (SUCCEEDED(hr))
        hr = decoder->GetFrameCount(&count);
    if (FAILED(hr))
        return hr;
    if (count == 0)
        return WINCODEC_ERR_FRAMEMISSING;
    UINT chosen = 0;
    if (container == GUID_ContainerFormatIco) {
        UINT64 largest = 0;
        for (UINT i = 0; i < count; ++i) {
            ComPtr<IWICBitmapFrameDecode> candidate;
            UINT width = 0, height = 0;
            if (SUCCEEDED(decoder->GetFrame(i, candidate.put())) &&
                SUCCEEDED(candidate->GetSize(&width, &height)) &&
                UINT64(width) * height > largest) {
                largest = UINT64(width) * height;
                chosen = i;
            }
        }
    }
    return decoder->GetFrame(chosen, frame.put());
}

// Bytes of a picture of width x height at bits a pixel, rows whole bytes; never fewer than
// 32 bits a pixel are counted, what the strips are converted to.
UINT64 DecodedBytes(UINT64 width, UINT64 height, UINT bits) {
    return (width * std::max(bits, 32u) + 7) / 8 * height;
}

MadeIcon TooLargeToDecode(const std::wstring& path, UINT width, UINT height) {
    wchar_t reason[128];
    ::wsprintfW(reason,
                L"It is %u by %u pixels; the most is %u pixels a side and 256 MB "
                L"decoded.",
                width, height, kMostPixelsASide);
    return Failed(kTooLarge, path, reason);
}

// Bits a pixel of the frame's own format, as the decoder gives it.
HRESULT FrameBits(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT& bits) {
    WICPixelFormatGUID format{};
    HRESULT hr = frame->GetPixelFormat(&format);
    ComPtr<IWICComponentInfo> info;
    if (SUCCEEDED(hr))
        hr = factory->CreateComponentInfo(format, info.put());
    ComPtr<IWICPixelFormatInfo> pixels;
    if (SUCCEEDED(hr))
        hr = info->QueryInterface(IID_PPV_ARGS(pixels.put()));
    if (SUCCEEDED(hr))
        hr = pixels->GetBitsPerPixel(&bits);
    return hr;
}

}  // namespace

MadeIcon MakeFromPicture(const std::wstring& path, Mark mark) {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.put()));
    std::string bytes;
    bool tooLarge = false;
    if (SUCCEEDED(hr))
        hr = ReadPictureFile(path, bytes, tooLarge);
    if (FAILED(hr))
        return Failed(kCannotDecode, path, ReasonFor(hr));
    if (tooLarge)
        return Failed(kTooLarge, path, L"The file is larger than 256 MB.");
    // The decoders trust the header: a damaged or giant one is refused before they see it.
    const platform::PictureCheck check = platform::CheckPicture(
        platform::Bytes(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()),
        platform::kAllPictures);
    if (!check.Ok())
        return Failed(check.refusal == platform::refusal::kTooLarge ? kTooLarge : kCannotDecode,
                      path, Sentence(check.refusal));
    // A decoder may hold the whole decoded picture as soon as it is made (Wine's PNG decoder
    // does): its size in the decoder's output format is bounded before then.
    const auto checkedWidth = static_cast<UINT>(check.width);
    const auto checkedHeight = static_cast<UINT>(check.height);
    if (DecodedBytes(checkedWidth, checkedHeight, static_cast<UINT>(check.decodedBits)) >
        kMostDecodedBytes)
        return TooLargeToDecode(path, checkedWidth, checkedHeight);
    // The decoder gets the chunks that make the pixels, and no text or profile to inflate.
    if (check.kind == platform::kPng)
        bytes.resize(platform::KeepPixelChunks(
            std::span(reinterpret_cast<std::byte*>(bytes.data()), bytes.size())));

    ComPtr<IWICStream> stream;
    hr = factory->CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size()));
    ComPtr<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put());
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(hr))
        hr = ChooseFrame(decoder.get(), frame);
    UINT width = 0, height = 0, bits = 0;
    if (SUCCEEDED(hr))
        hr = frame->GetSize(&width, &height);
    if (SUCCEEDED(hr))
        hr = FrameBits(factory.get(), frame.get(), bits);
    if (FAILED(hr))
        return Failed(kCannotDecode, path, ReasonFor(hr));
    // Refused by the size the header states and the real bytes of the decoder's format
    // (8 a pixel for 16-bit channels), before the frame's pixels are asked for.
    if (width == 0 || height == 0 || width > kMostPixelsASide || height > kMostPixelsASide ||
        DecodedBytes(width, height, bits) > kMostDecodedBytes)
        return TooLargeToDecode(path, width, height);

    ComPtr<IWICFormatConverter> converter;
    hr = factory->CreateFormatConverter(converter.put());
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr))
        return Failed(kCannotDecode, path, ReasonFor(hr));

    // The master: the picture fitted into 256 px, or as it is when smaller.
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const SIZE fit = std::max(w, h) > kMasterSide ? FitInto(w, h, kMasterSide) : SIZE{w, h};
    AreaScaler scaler(w, h, fit.cx, fit.cy);
    const UINT rows = std::min<UINT>(kStripRows, height);
    std::vector<BYTE> strip(static_cast<size_t>(width) * 4 * rows);
    for (UINT top = 0; top < height; top += rows) {
        const UINT count = std::min(rows, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(count)};
        hr = converter->CopyPixels(&rect, width * 4, width * 4 * count, strip.data());
        if (FAILED(hr))
            return Failed(kCannotDecode, path, ReasonFor(hr));
        for (UINT y = 0; y < count; ++y)
            scaler.AddRow(static_cast<int>(top + y), &strip[static_cast<size_t>(y) * width * 4]);
    }
    Master master;
    master.width = fit.cx;
    master.height = fit.cy;
    master.pixels = scaler.Result();

    std::vector<SquareImage> squares = SquaresFrom(master);
    for (SquareImage& square : squares)
        DrawMark(square.bgra, square.side, mark);
    Recipe recipe;
    recipe.kind = Recipe::Kind::Picture;
    recipe.picture = Sha256Hex(bytes);
    recipe.mark = mark;
    MadeIcon made;
    if (hr = WriteIco(squares, made.bytes, RecipeChunk(recipe)); FAILED(hr)) {
        made.bytes.clear();
        return Failed(L"Could not make the icon from the picture.", path, ReasonFor(hr));
    }
    made.ok = true;
    return made;
}

}  // namespace icon_maker
