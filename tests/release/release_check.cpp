// Checks the release files beside the zip and the MSI: SHA256SUMS, the Scoop manifest (read
// with nlohmann's JSON parser) and the winget manifests (YAML, checked key by key) carry the
// version, the exact file names and the SHA-256 of the files, computed here anew.
// Usage: velquin_release_check FOLDER VERSION
#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/host_path.h"

namespace {

std::wstring folder;
int failures = 0;

void Expect(bool ok, const std::string& what) {
    if (!ok) {
        std::printf("release check: %s\n", what.c_str());
        ++failures;
    }
}

std::string Read(const std::string& name) {
    std::ifstream in(std::filesystem::path(folder) / name, std::ios::binary);
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
    for (unsigned char b : digest) {
        char two[3];
        std::snprintf(two, sizeof(two), "%02x", b);
        hex += two;
    }
    return hex;
}

std::string Lower(std::string text) {
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A winget manifest's "key: value" pairs, each key with every value it has. Every line must
// be a comment, a key (possibly of a list item "- "), indented by two spaces a level.
std::multimap<std::string, std::string> ReadYaml(const std::string& name) {
    std::multimap<std::string, std::string> keys;
    std::istringstream lines(Read(name));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos || line[at] == '#')
            continue;
        if (line.compare(at, 2, "- ") == 0)
            at += 2;
        size_t colon = line.find(':', at);
        Expect(at % 2 == 0 && colon != std::string::npos && colon > at &&
                   (colon + 1 == line.size() || line[colon + 1] == ' '),
               name + ": not a key: " + line);
        if (colon == std::string::npos)
            continue;
        std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        keys.emplace(line.substr(at, colon - at), value);
    }
    return keys;
}

std::vector<std::string> All(const std::multimap<std::string, std::string>& keys,
                             const std::string& key) {
    std::vector<std::string> values;
    for (auto [it, end] = keys.equal_range(key); it != end; ++it)
        values.push_back(it->second);
    return values;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return std::printf("usage: velquin_release_check FOLDER VERSION\n"), 1;
    folder = testsupport::HostPath(argv[1]);
    const std::wstring wide = argv[2];
    const std::string version(wide.begin(), wide.end());  // digits and dots only
    const std::string zip = "velquin-" + version + "-win64.zip";
    const std::string msi = "velquin-" + version + "-win64.msi";
    const std::string zipSha = Sha256(Read(zip)), msiSha = Sha256(Read(msi));

    Expect(Read("SHA256SUMS") == zipSha + "  " + zip + "\n" + msiSha + "  " + msi + "\n",
           "SHA256SUMS does not list both files with their checksums");

    try {
        const auto scoop = nlohmann::json::parse(Read("scoop/velquin.json"));
        const auto& x64 = scoop.at("architecture").at("64bit");
        const auto& update = scoop.at("autoupdate");
        Expect(scoop.at("version") == version, "Scoop: another version");
        Expect(EndsWith(x64.at("url"), "/v" + version + "/" + zip), "Scoop: url");
        Expect(x64.at("hash") == zipSha, "Scoop: not the zip's SHA-256");
        Expect(x64.at("extract_dir") == "velquin-" + version + "-win64\\bin", "Scoop: folder");
        Expect(scoop.at("bin") == nlohmann::json{"velquin.exe", "velquin-cli.exe"}, "Scoop: bin");
        Expect(scoop.at("checkver").is_object(), "Scoop: checkver");
        Expect(EndsWith(update.at("architecture").at("64bit").at("url"),
                        "/v$version/velquin-$version-win64.zip"),
               "Scoop: autoupdate url");
    } catch (const std::exception& e) {
        Expect(false, std::string("Scoop manifest: ") + e.what());
    }

    const auto version_ = ReadYaml("winget/Velquin.Velquin.yaml");
    const auto installer = ReadYaml("winget/Velquin.Velquin.installer.yaml");
    const auto locale = ReadYaml("winget/Velquin.Velquin.locale.en-US.yaml");
    const std::pair<const std::multimap<std::string, std::string>*, const char*> manifests[] = {
        {&version_, "version"}, {&installer, "installer"}, {&locale, "defaultLocale"}};
    for (const auto& [keys, type] : manifests) {
        Expect(All(*keys, "PackageIdentifier") == std::vector<std::string>{"Velquin.Velquin"} &&
                   All(*keys, "PackageVersion") == std::vector<std::string>{version} &&
                   All(*keys, "ManifestType") == std::vector<std::string>{type} &&
                   All(*keys, "ManifestVersion") == All(version_, "ManifestVersion"),
               std::string("winget ") + type + ": identifier, version or manifest type");
    }
    Expect(All(version_, "DefaultLocale") == std::vector<std::string>{"en-US"} &&
               All(locale, "PackageLocale") == std::vector<std::string>{"en-US"},
           "winget: locale");
    Expect(All(installer, "Scope") == std::vector<std::string>{"user", "machine"},
           "winget: scopes");
    for (const auto& url : All(installer, "InstallerUrl"))
        Expect(EndsWith(url, "/v" + version + "/" + msi), "winget: url " + url);
    const auto shas = All(installer, "InstallerSha256");
    Expect(shas.size() == 2 && Lower(shas[0]) == msiSha && Lower(shas[1]) == msiSha,
           "winget: not the MSI's SHA-256");
    Expect(All(installer, "ProductCode").size() == 1 &&
               All(installer, "ProductCode")[0].size() == 38,
           "winget: product code");

    if (failures == 0)
        std::printf("release files of %s: checksums and manifests checked\n", version.c_str());
    return failures == 0 ? 0 : 1;
}
