// Reading made icons back in tests: the directory, a DIB image's pixels, their hue, and
// pictures written with WIC's encoders.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/unique_handle.h"

namespace icontest {

struct IcoEntry {
    int side = 0;
    int bitCount = 0;
    bool png = false;
    size_t offset = 0, size = 0;
};

inline unsigned Get16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
inline std::uint32_t Get32(const std::string& b, size_t at) {
    return Get16(b, at) | static_cast<std::uint32_t>(Get16(b, at + 2)) << 16;
}

// The directory; empty when the bytes are no icon file or an entry lies outside them.
inline std::vector<IcoEntry> ParseIco(const std::string& b) {
    if (b.size() < 6 || Get16(b, 0) != 0 || Get16(b, 2) != 1)
        return {};
    std::vector<IcoEntry> entries;
    for (unsigned i = 0; i < Get16(b, 4); ++i) {
        const size_t at = 6 + 16 * i;
        if (at + 16 > b.size())
            return {};
        IcoEntry e;
        e.side = static_cast<unsigned char>(b[at]) ? static_cast<unsigned char>(b[at]) : 256;
        e.bitCount = static_cast<int>(Get16(b, at + 6));
        e.size = Get32(b, at + 8);
        e.offset = Get32(b, at + 12);
        if (e.offset + e.size > b.size())
            return {};
        e.png = b.compare(e.offset, 8, "\x89PNG\r\n\x1a\n", 8) == 0;
        entries.push_back(e);
    }
    return entries;
}

// A DIB entry's pixels, straight blue, green, red, alpha, top row first.
inline std::vector<std::uint8_t> DibPixels(const std::string& b, const IcoEntry& e) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(e.side) * e.side * 4);
    const size_t row = static_cast<size_t>(e.side) * 4;
    for (int y = 0; y < e.side; ++y)
        std::memcpy(&pixels[y * row], b.data() + e.offset + 40 + (e.side - 1 - y) * row, row);
    return pixels;
}

// The average hue (degrees) of the opaque pixels, each counted by its chroma, and their
// average saturation (chroma over the brightest channel, 0..1).
struct HueReading {
    double hue = 0, saturation = 0;
};
inline HueReading ReadHue(const std::vector<std::uint8_t>& bgra) {
    double x = 0, y = 0, saturation = 0;
    int opaque = 0;
    for (size_t i = 0; i < bgra.size(); i += 4) {
        if (bgra[i + 3] < 200)
            continue;
        const double b = bgra[i], g = bgra[i + 1], r = bgra[i + 2];
        const double high = std::fmax(r, std::fmax(g, b)), low = std::fmin(r, std::fmin(g, b));
        const double chroma = high - low;
        // Hue as an angle on the colour wheel, through the usual two-axis projection.
        const double a = r - (g + b) / 2, c = std::sqrt(3.0) / 2 * (g - b);
        const double length = std::hypot(a, c);
        if (length > 0) {
            x += a / length * chroma;
            y += c / length * chroma;
        }
        saturation += high > 0 ? chroma / high : 0;
        ++opaque;
    }
    HueReading reading;
    reading.hue = std::fmod(std::atan2(y, x) * 180 / 3.14159265358979 + 360, 360);
    reading.saturation = opaque ? saturation / opaque : 0;
    return reading;
}

// Writes a picture of width by height pixels, each from pixel(x, y) as 0xAARRGGBB, with the
// encoder of container (GUID_ContainerFormatPng, ...). S_OK when written.
inline HRESULT WritePicture(const std::wstring& path, const GUID& container, UINT width,
                            UINT height, const std::function<std::uint32_t(UINT, UINT)>& pixel) {
    platform::ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.put()));
    platform::ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr))
        hr = factory->CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    platform::ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(container, nullptr, encoder.put());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    platform::ComPtr<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(frame.put(), nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(width, height);
    WICPixelFormatGUID format = container == GUID_ContainerFormatPng ? GUID_WICPixelFormat32bppBGRA
                                                                     : GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    const UINT bytesPerPixel = format == GUID_WICPixelFormat32bppBGRA ? 4 : 3;
    std::vector<BYTE> row(static_cast<size_t>(width) * bytesPerPixel);
    for (UINT y = 0; SUCCEEDED(hr) && y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const std::uint32_t p = pixel(x, y);
            std::memcpy(&row[x * bytesPerPixel], &p, bytesPerPixel);
        }
        hr = frame->WritePixels(1, static_cast<UINT>(row.size()), static_cast<UINT>(row.size()),
                                row.data());
    }
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    return hr;
}

}  // namespace icontest
