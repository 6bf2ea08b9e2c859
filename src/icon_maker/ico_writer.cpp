// The icon file format as Windows' own icons use it: a directory of eight entries, the
// small images as bottom-up 32-bit DIBs followed by their AND masks, the 256 px one as PNG.
#include <windows.h>
#include <wincodec.h>

#include "icon_maker/icon_parts.h"
#include "platform/core/unique_handle.h"

namespace icon_maker {
namespace {

using platform::ComPtr;

void Put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The image as BITMAPINFOHEADER (height doubled for the mask), pixels bottom-up, then the
// AND mask: one bit a pixel, set where the pixel is fully transparent, rows of 32-bit words.
std::string Dib(const SquareImage& image) {
    const int side = image.side;
    std::string out;
    Put32(out, sizeof(BITMAPINFOHEADER));
    Put32(out, static_cast<std::uint32_t>(side));
    Put32(out, static_cast<std::uint32_t>(side * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);  // BI_RGB, no image size, no resolution, no palette
    for (int y = side - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(&image.bgra[static_cast<size_t>(y) * side * 4]),
                   static_cast<size_t>(side) * 4);
    const int maskRow = (side + 31) / 32 * 4;
    for (int y = side - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(maskRow), '\0');
        for (int x = 0; x < side; ++x)
            if (image.bgra[(static_cast<size_t>(y) * side + x) * 4 + 3] == 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        out += row;
    }
    return out;
}

// The image as PNG through WIC's encoder, which writes no time or other varying chunk.
HRESULT Png(const SquareImage& image, std::string& out) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.put()));
    ComPtr<IStream> stream;
    if (SUCCEEDED(hr))
        hr = ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    ComPtr<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(frame.put(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(static_cast<UINT>(image.side), static_cast<UINT>(image.side));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat32bppBGRA)
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(static_cast<UINT>(image.side), static_cast<UINT>(image.side) * 4,
                                static_cast<UINT>(image.bgra.size()),
                                const_cast<BYTE*>(image.bgra.data()));
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    STATSTG stat{};
    if (SUCCEEDED(hr))
        hr = stream->Stat(&stat, STATFLAG_NONAME);
    HGLOBAL global = nullptr;
    if (SUCCEEDED(hr))
        hr = ::GetHGlobalFromStream(stream.get(), &global);
    if (FAILED(hr))
        return hr;
    const void* data = ::GlobalLock(global);
    if (!data)
        return HRESULT_FROM_WIN32(::GetLastError());
    out.assign(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(global);
    return S_OK;
}

}  // namespace

HRESULT WriteIco(const std::vector<SquareImage>& images, std::string& bytes,
                 const std::string& recipeChunk) {
    std::vector<std::string> bodies;
    for (const SquareImage& image : images) {
        bodies.emplace_back();
        if (image.side >= 256) {
            if (HRESULT hr = Png(image, bodies.back()); FAILED(hr))
                return hr;
            // After the signature and IHDR, which come first in every PNG.
            constexpr size_t kHeaderEnd = 8 + 12 + 13;
            if (bodies.back().size() < kHeaderEnd)
                return WINCODEC_ERR_BADIMAGE;
            bodies.back().insert(kHeaderEnd, recipeChunk);
        } else {
            bodies.back() = Dib(image);
        }
    }
    bytes.clear();
    Put16(bytes, 0);
    Put16(bytes, 1);  // an icon
    Put16(bytes, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const unsigned side = images[i].side >= 256 ? 0 : static_cast<unsigned>(images[i].side);
        bytes.push_back(static_cast<char>(side));
        bytes.push_back(static_cast<char>(side));
        bytes.push_back(0);  // no palette
        bytes.push_back(0);
        Put16(bytes, 1);   // planes
        Put16(bytes, 32);  // bits per pixel
        Put32(bytes, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(bytes, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies)
        bytes += body;
    return S_OK;
}

}  // namespace icon_maker
