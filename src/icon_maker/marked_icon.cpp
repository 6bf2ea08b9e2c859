// Marks over icons Velquin did not make, and a made icon's mark changed: the images below
// are kept as they are and only the badge's quarter is drawn again.
#include <windows.h>
#include <wincodec.h>

#include "icon_maker/icon_parts.h"
#include "icon_maker/recipe.h"
#include "platform/core/content_checks.h"
#include "platform/core/unique_handle.h"

namespace icon_maker {
namespace {

using platform::ComPtr;

MadeIcon Written(std::vector<SquareImage>& squares, const Recipe& recipe, const std::wstring& what,
                 const std::wstring& path) {
    for (SquareImage& square : squares)
        DrawMark(square.bgra, square.side, recipe.mark);
    MadeIcon made;
    if (HRESULT hr = WriteIco(squares, made.bytes, RecipeChunk(recipe)); FAILED(hr)) {
        made.bytes.clear();
        made.failure = {what, path, ReasonFor(hr)};
        return made;
    }
    made.ok = true;
    return made;
}

// The images of a made icon, in its order, as straight pixels: WIC's icon decoder hands
// each one over as it is stored.
HRESULT DecodeSquares(const std::string& bytes, std::vector<SquareImage>& squares) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.put()));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr))
        hr = factory->CreateStream(stream.put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()));
    ComPtr<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromStream(stream.get(), &GUID_VendorMicrosoft,
                                              WICDecodeMetadataCacheOnDemand, decoder.put());
    UINT count = 0;
    if (SUCCEEDED(hr))
        hr = decoder->GetFrameCount(&count);
    if (SUCCEEDED(hr) && count != std::size(kIconSizes))
        hr = WINCODEC_ERR_BADIMAGE;
    for (UINT i = 0; SUCCEEDED(hr) && i < count; ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        hr = decoder->GetFrame(i, frame.put());
        UINT width = 0, height = 0;
        if (SUCCEEDED(hr))
            hr = frame->GetSize(&width, &height);
        if (SUCCEEDED(hr) && (width != UINT(kIconSizes[i]) || height != width))
            hr = WINCODEC_ERR_BADIMAGE;
        ComPtr<IWICBitmapSource> straight;
        if (SUCCEEDED(hr))
            hr =
                ::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), straight.put());
        SquareImage square;
        square.side = kIconSizes[i];
        square.bgra.resize(static_cast<size_t>(width) * height * 4);
        if (SUCCEEDED(hr))
            hr = straight->CopyPixels(nullptr, width * 4, static_cast<UINT>(square.bgra.size()),
                                      square.bgra.data());
        squares.push_back(std::move(square));
    }
    return hr;
}

}  // namespace

Master MasterFrom(const std::vector<std::uint8_t>& pixels) {
    Master master;
    master.width = master.height = 256;
    master.pixels.resize(pixels.size());
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const float alpha = pixels[i + 3];
        for (int c = 0; c < 3; ++c)
            master.pixels[i + c] = pixels[i + c] * alpha / 255.0f;
        master.pixels[i + 3] = alpha;
    }
    return master;
}

MadeIcon MarkIcon(const std::wstring& file, const std::wstring& index, Mark mark,
                  const std::wstring& folder) {
    ComScope com;
    std::vector<std::uint8_t> pixels;
    if (file.empty()) {
        pixels = FolderPixels();
    } else {
        // desktop.ini may name the file through an environment variable ("%SystemRoot%").
        wchar_t expanded[MAX_PATH * 2];
        const DWORD length = ::ExpandEnvironmentStringsW(file.c_str(), expanded, MAX_PATH * 2);
        std::wstring path = length && length <= MAX_PATH * 2 ? expanded : file;
        // A relative name is the folder's file when it is there (else the system's, found on
        // its path, as "shell32.dll").
        const bool relative = path.size() < 2 || (path[1] != L':' && path[0] != L'\\');
        const std::wstring inFolder = folder + (folder.back() == L'\\' ? L"" : L"\\") + path;
        if (!folder.empty() && relative &&
            ::GetFileAttributesW(inFolder.c_str()) != INVALID_FILE_ATTRIBUTES)
            path = inFolder;
        pixels = IconPixels(path, index.empty() ? 0 : _wtoi(index.c_str()));
    }
    if (pixels.empty()) {
        MadeIcon made;
        made.failure = {L"Could not read the icon to mark.", file,
                        L"The file holds no icon at that index, or it can't be read."};
        return made;
    }
    std::vector<SquareImage> squares = SquaresFrom(MasterFrom(pixels));
    Recipe recipe;
    recipe.kind = Recipe::Kind::Icon;
    recipe.iconFile = file;
    recipe.iconIndex = file.empty() ? std::wstring() : (index.empty() ? L"0" : index);
    recipe.mark = mark;
    return Written(squares, recipe, L"Could not mark the icon.", file);
}

MadeIcon RemarkMadeIcon(const std::string& made, Mark mark) {
    ComScope com;
    auto recipe = ReadRecipe(made);
    // Only a made icon, checked whole before the decoder sees it.
    const platform::PictureCheck check = platform::CheckPicture(
        platform::Bytes(reinterpret_cast<const std::byte*>(made.data()), made.size()),
        platform::kIco);
    std::vector<SquareImage> squares;
    HRESULT hr = recipe && check.Ok() ? DecodeSquares(made, squares) : WINCODEC_ERR_BADIMAGE;
    if (FAILED(hr)) {
        MadeIcon failed;
        failed.failure = {L"Could not mark the icon.", ContentName(made),
                          L"It is no icon Velquin made."};
        return failed;
    }
    recipe->mark = mark;
    return Written(squares, *recipe, L"Could not mark the icon.", ContentName(made));
}

}  // namespace icon_maker
