// The libraries imported late load at their first call, which then does its work. Should one
// fail to load, the program's fallback answers each of its functions with that library's
// failure; a library it does not list keeps the loader's exception.
#include <windows.h>
#include <bcrypt.h>
#include <commdlg.h>
#include <delayimp.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include "platform/core/late_imports.h"
#include "platform/core/unique_handle.h"
#include "support/dialog_answerer.h"

namespace testsupport {
namespace {

using platform::ComPtr;

// The colour dialog opens; the answerer closes it with OK, handing back the colour it
// started on.
bool ChooseTheStartingColour() {
    DialogAnswerer answerer;
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{sizeof choose};
    choose.rgbResult = RGB(10, 20, 30);
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    return ::ChooseColorW(&choose) && choose.rgbResult == RGB(10, 20, 30);
}

bool OpenTheHash() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return false;
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    return true;
}

bool ConvertABitmap() {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return false;
    bool converted = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICBitmap> bitmap;
        ComPtr<IWICBitmapSource> result;
        WICPixelFormatGUID format{};
        converted =
            SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(factory.put()))) &&
            SUCCEEDED(factory->CreateBitmap(2, 2, GUID_WICPixelFormat24bppBGR,
                                            WICBitmapCacheOnDemand, bitmap.put())) &&
            SUCCEEDED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, bitmap.get(),
                                               result.put())) &&
            SUCCEEDED(result->GetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA;
    }
    ::CoUninitialize();
    return converted;
}

struct LateLibrary {
    const char* dll;
    bool (*firstCall)();
    LONG failure;  // what each of its functions answers when it could not be loaded
};

const LateLibrary kLateLibraries[] = {
    {"comdlg32.dll", ChooseTheStartingColour, FALSE},
    {"bcrypt.dll", OpenTheHash, static_cast<LONG>(0xC0000135)},  // STATUS_DLL_NOT_FOUND
    {"windowscodecs.dll", ConvertABitmap, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
};

TEST(LateImportTest, EachLibraryLoadsAtItsFirstCallWhichWorks) {
    for (const auto& library : kLateLibraries) {
        SCOPED_TRACE(library.dll);
        EXPECT_TRUE(library.firstCall());
        EXPECT_TRUE(::GetModuleHandleA(library.dll));
    }
}

TEST(LateImportTest, ALibraryThatFailsToLoadAnswersWithItsFailure) {
    for (const auto& library : kLateLibraries) {
        SCOPED_TRACE(library.dll);
        DelayLoadInfo info{sizeof info};
        info.szDll = library.dll;
        info.dlp.fImportByName = TRUE;
        info.dlp.szProcName = "AnyFunction";
        // The failed load gets a module where no function is found...
        EXPECT_TRUE(platform::LateImportFallback(dliFailLoadLib, &info));
        // ...and each function missed there answers the library's failure.
        FARPROC standIn = platform::LateImportFallback(dliFailGetProc, &info);
        ASSERT_TRUE(standIn);
        ::SetLastError(0);
        EXPECT_EQ(reinterpret_cast<LONG(WINAPI*)()>(reinterpret_cast<void*>(standIn))(),
                  library.failure);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    }
    DelayLoadInfo other{sizeof other};
    other.szDll = "ole32.dll";
    EXPECT_FALSE(platform::LateImportFallback(dliFailLoadLib, &other));
    EXPECT_FALSE(platform::LateImportFallback(dliFailGetProc, &other));
}

}  // namespace
}  // namespace testsupport
