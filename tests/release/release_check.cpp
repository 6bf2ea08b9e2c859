// Checks the release files beside the zip and the MSI: SHA256SUMS, the Scoop manifest (read
// with nlohmann's JSON parser) and the winget manifests (YAML, key by key) carry the version,
// the exact file names and the SHA-256 of the files, computed here anew.
// Usage: velquin_release_check FOLDER VERSION
#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/host_path.h"

namespace {

std::filesystem::path folder;
int failures = 0;

void Expect(bool ok, const std::string& what) {
    if (!ok && ++failures)
        std::printf("release check: %s\n", what.c_str());
}

std::string Read(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    Expect(in.good(), "missing " + name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Sha256(const std::string& bytes) {
    unsigned char digest[32] = {};
    BCRYPT_ALG_HANDLE sha = nullptr;
    ::BCryptOpenAlgorithmProvider(&sha, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    ::BCryptHash(sha, nullptr, 0, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                 static_cast<ULONG>(bytes.size()), digest, sizeof(digest));
    ::BCryptCloseAlgorithmProvider(sha, 0);
    std::string hex;
    for (unsigned char b : digest)
        hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
    return hex;
}

// A winget manifest's "key: value" lines, keys of list items ("- ") included, in order, as
// "key=value" lines: of an address only its last two parts, of the product code its shape.
// A line that is neither a comment nor such a key fails.
std::string YamlKeys(const std::string& name) {
    std::istringstream lines(Read(name));
    std::string keys;
    for (std::string line; std::getline(lines, line);) {
        size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos || line[at] == '#')
            continue;
        at += line.compare(at, 2, "- ") == 0 ? 2 : 0;
        const size_t colon = line.find(':', at);
        const bool key = at % 2 == 0 && colon != std::string::npos &&
                         (colon + 1 == line.size() || line[colon + 1] == ' ');
        Expect(key, name + ": not a key: " + line);
        if (!key)
            continue;
        std::string value = colon + 1 == line.size() ? "" : line.substr(colon + 2);
        if (value.starts_with("https://"))
            value = value.substr(value.rfind('/', value.rfind('/') - 1) + 1);
        if (line.compare(at, colon - at, "ProductCode") == 0 && value.size() == 40)
            value = value[1] == '{' && value[38] == '}' ? "{guid}" : value;
        keys += line.substr(at, colon - at) + "=" + value + "\n";
    }
    return keys;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return std::printf("usage: velquin_release_check FOLDER VERSION\n"), 1;
    folder = testsupport::HostPath(argv[1]);
    const std::wstring wide = argv[2];
    const std::string v(wide.begin(), wide.end());  // digits and dots only
    const std::string zip = "velquin-" + v + "-win64.zip", msi = "velquin-" + v + "-win64.msi";
    const std::string shell = "velquin-" + v + "-win64-shell.msix";
    const std::string zipSha = Sha256(Read(zip)), msiSha = Sha256(Read(msi));
    std::string msiShaUpper = msiSha;
    for (auto& c : msiShaUpper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    Expect(Read("SHA256SUMS") == zipSha + "  " + zip + "\n" + msiSha + "  " + msi + "\n" +
                                     Sha256(Read(shell)) + "  " + shell + "\n",
           "SHA256SUMS does not list the three files with their checksums");

    try {
        const auto scoop = nlohmann::json::parse(Read("scoop/velquin.json"));
        const std::string base = "/v" + v + "/";
        const std::pair<const char*, nlohmann::json> expected[] = {
            {"/version", v},
            {"/architecture/64bit/hash", zipSha},
            {"/architecture/64bit/extract_dir", "velquin-" + v + "-win64\\bin"},
            {"/bin", {"velquin.exe", "velquin-cli.exe"}},
            {"/autoupdate/architecture/64bit/extract_dir", "velquin-$version-win64\\bin"},
            {"/autoupdate/hash/url", "$baseurl/SHA256SUMS"},
        };
        for (const auto& [pointer, value] : expected)
            Expect(scoop.at(nlohmann::json::json_pointer(pointer)) == value, pointer);
        const std::string url = scoop.at("architecture").at("64bit").at("url");
        Expect(url.ends_with(base + zip), "Scoop: url " + url);
        Expect(scoop.at("checkver").is_object(), "Scoop: checkver");
    } catch (const std::exception& e) {
        Expect(false, std::string("Scoop manifest: ") + e.what());
    }

    // Each manifest's keys exactly.
    const std::string head = "PackageIdentifier=Velquin.Velquin\nPackageVersion=" + v + "\n";
    const std::string tail = "ManifestVersion=1.9.0\n";
    const std::string installer =
        "InstallerUrl=v" + v + "/" + msi + "\nInstallerSha256=" + msiShaUpper + "\n";
    Expect(YamlKeys("winget/Velquin.Velquin.yaml") ==
               head + "DefaultLocale=en-US\nManifestType=version\n" + tail,
           "winget version manifest");
    Expect(YamlKeys("winget/Velquin.Velquin.installer.yaml") ==
               head +
                   "MinimumOSVersion=10.0.0.0\nInstallerType=msi\nUpgradeBehavior=install\n"
                   "ProductCode={guid}\nInstallers=\nArchitecture=x64\nScope=user\n" +
                   installer + "Architecture=x64\nScope=machine\n" + installer +
                   "InstallerSwitches=\nCustom=ALLUSERS=1\nManifestType=installer\n" + tail,
           "winget installer manifest");
    const std::string locale = YamlKeys("winget/Velquin.Velquin.locale.en-US.yaml");
    Expect(locale.starts_with(head + "PackageLocale=en-US\n") &&
               locale.ends_with("ManifestType=defaultLocale\n" + tail),
           "winget locale manifest:\n" + locale);

    if (failures == 0)
        std::printf("release files of %s: checksums and manifests checked\n", v.c_str());
    return failures == 0 ? 0 : 1;
}
