// What the two makers share: the master picture the sizes are made from, the icon file
// writer, COM for the thread, and reasons for people.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <string>
#include <vector>

#include "icon_maker/icon_maker.h"

namespace icon_maker {

// Premultiplied pixels (blue, green, red, alpha; 0..255 floats), top row first.
struct Master {
    int width = 0, height = 0;
    std::vector<float> pixels;
};

// One image of the icon: side by side pixels of straight blue, green, red, alpha bytes.
struct SquareImage {
    int side = 0;
    std::vector<std::uint8_t> bgra;
};

// The size of a w by h picture fitted into a square of side, aspect ratio kept (at least 1).
SIZE FitInto(int width, int height, int side);

// Every image of kIconSizes from master, which shows a picture of aspect width:height,
// fitted and centred with transparent margins.
std::vector<SquareImage> SquaresFrom(const Master& master);

// The .ico file: the 256 px image as PNG (with recipeChunk after its header), the others as
// 32-bit DIBs with their AND masks. S_OK, or the encoder's failure.
HRESULT WriteIco(const std::vector<SquareImage>& images, std::string& bytes,
                 const std::string& recipeChunk = {});

// Straight pixels of the icon at file, index (PrivateExtractIcons' rules) at 256 px, top row
// first; empty when it can't be read.
std::vector<std::uint8_t> IconPixels(const std::wstring& file, int index);
// The system's folder icon so, or a folder of Velquin's own drawing where it can't be read.
std::vector<std::uint8_t> FolderPixels();
// Straight 256 px pixels as the master picture.
Master MasterFrom(const std::vector<std::uint8_t>& pixels);

// COM on this thread for the scope, unless it already runs in either model.
class ComScope {
  public:
    ComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT hr_;
};

// The reason for a failure code in words: the system's text, or the decoder's meaning.
std::wstring ReasonFor(HRESULT hr);

}  // namespace icon_maker
