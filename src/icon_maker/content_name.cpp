// A made icon's file name from its content, through the system's SHA-256.
#include <windows.h>
#include <bcrypt.h>

#include "icon_maker/icon_maker.h"

namespace icon_maker {
namespace {

constexpr std::wstring_view kPrefix = L"velquin-", kSuffix = L".ico";
constexpr size_t kHexDigits = 12;

}  // namespace

std::wstring ContentName(const std::string& bytes) {
    UCHAR digest[32] = {};
    // Should the system refuse (it has no reason to), the digest stays zero and still names
    // the file: the name is a cache key, not a check.
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        BCRYPT_HASH_HANDLE hash = nullptr;
        if (BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
            ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                             static_cast<ULONG>(bytes.size()), 0);
            ::BCryptFinishHash(hash, digest, sizeof digest, 0);
            ::BCryptDestroyHash(hash);
        }
        ::BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name(kPrefix);
    for (size_t i = 0; i < kHexDigits / 2; ++i) {
        name += kHex[digest[i] >> 4];
        name += kHex[digest[i] & 15];
    }
    return name + std::wstring(kSuffix);
}

bool IsContentName(std::wstring_view name) {
    if (name.size() != kPrefix.size() + kHexDigits + kSuffix.size())
        return false;
    if (::CompareStringOrdinal(name.data(), static_cast<int>(kPrefix.size()), kPrefix.data(),
                               static_cast<int>(kPrefix.size()), TRUE) != CSTR_EQUAL ||
        ::CompareStringOrdinal(name.data() + name.size() - kSuffix.size(),
                               static_cast<int>(kSuffix.size()), kSuffix.data(),
                               static_cast<int>(kSuffix.size()), TRUE) != CSTR_EQUAL)
        return false;
    for (wchar_t c : name.substr(kPrefix.size(), kHexDigits))
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')))
            return false;
    return true;
}

}  // namespace icon_maker
