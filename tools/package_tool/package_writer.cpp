#include "package_writer.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "bytes.h"
#include "sha256.h"

namespace package_tool {
namespace {

constexpr size_t kBlock = 64 * 1024;
constexpr size_t kLocalHeader = 30;  // a local header before its name, with no extra field

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string BlockMapName(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string Base64(const std::array<uint8_t, 32>& bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        uint32_t group =
            bytes[at] << 16 | (left > 1 ? bytes[at + 1] << 8 : 0) | (left > 2 ? bytes[at + 2] : 0);
        for (size_t i = 0; i < 4; ++i)
            out += i <= left ? kDigits[(group >> (18 - 6 * i)) & 63] : '=';
    }
    return out;
}

std::string Extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == name.npos || name.find('/', dot) != name.npos ? "" : Lower(name.substr(dot + 1));
}

std::string ContentType(const std::string& extension) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {"png", "image/png"},
        {"ico", "image/vnd.microsoft.icon"},
        {"xml", "application/xml"},
        {"dll", "application/x-msdownload"},
        {"exe", "application/x-msdownload"},
        {"txt", "text/plain"},
    };
    for (const auto& [known, type] : kTypes)
        if (extension == known)
            return type;
    return "application/octet-stream";
}

struct Written {
    std::string name;
    uint32_t crc, size, offset;
};

void LocalEntry(std::string& zip, std::vector<Written>& entries, const std::string& name,
                const std::string& bytes) {
    const uint32_t crc = Crc32(bytes), size = static_cast<uint32_t>(bytes.size());
    entries.push_back({name, crc, size, static_cast<uint32_t>(zip.size())});
    // Stored, with the sizes in the local header (no data descriptor) and no extra field, so
    // that each header is exactly the LfhSize the block map gives.
    PutLe32(zip, 0x04034b50);
    PutLe16(zip, 20);
    PutLe16(zip, 0);
    PutLe16(zip, 0);
    PutLe16(zip, 0);       // time: midnight
    PutLe16(zip, 0x0021);  // date: 1 January 1980, so a build is the same bytes again
    PutLe32(zip, crc);
    PutLe32(zip, size);
    PutLe32(zip, size);
    PutLe16(zip, static_cast<uint32_t>(name.size()));
    PutLe16(zip, 0);
    zip += name;
    zip += bytes;
}

}  // namespace

void SortForBlockMap(std::vector<PackageFile>& files) {
    std::sort(files.begin(), files.end(), [](const PackageFile& a, const PackageFile& b) {
        return Lower(BlockMapName(a.name)) < Lower(BlockMapName(b.name));
    });
}

std::string BlockMapXml(const std::vector<PackageFile>& files) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<BlockMap xmlns=\"http://schemas.microsoft.com/appx/2010/blockmap\" "
        "HashMethod=\"http://www.w3.org/2001/04/xmlenc#sha256\">";
    for (const PackageFile& file : files) {
        xml += "<File Name=\"" + BlockMapName(file.name) + "\" Size=\"" +
               std::to_string(file.bytes.size()) + "\" LfhSize=\"" +
               std::to_string(kLocalHeader + file.name.size()) + "\">";
        for (size_t at = 0; at < file.bytes.size(); at += kBlock)
            xml += "<Block Hash=\"" +
                   Base64(Sha256(std::string_view(file.bytes).substr(at, kBlock))) + "\"/>";
        xml += "</File>";
    }
    return xml + "</BlockMap>";
}

std::string ContentTypesXml(const std::vector<PackageFile>& files) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
    std::vector<std::string> seen;
    for (const PackageFile& file : files) {
        const std::string extension = Extension(file.name);
        if (file.name == "AppxManifest.xml" || extension.empty() ||
            std::find(seen.begin(), seen.end(), extension) != seen.end())
            continue;
        seen.push_back(extension);
        xml += "<Default Extension=\"" + extension + "\" ContentType=\"" + ContentType(extension) +
               "\"/>";
    }
    return xml +
           "<Override PartName=\"/AppxManifest.xml\" "
           "ContentType=\"application/vnd.ms-appx.manifest+xml\"/>"
           "<Override PartName=\"/AppxBlockMap.xml\" "
           "ContentType=\"application/vnd.ms-appx.blockmap+xml\"/></Types>";
}

std::string PackageZip(const std::vector<PackageFile>& files) {
    std::string zip;
    std::vector<Written> entries;
    for (const PackageFile& file : files)
        LocalEntry(zip, entries, file.name, file.bytes);
    LocalEntry(zip, entries, "AppxBlockMap.xml", BlockMapXml(files));
    LocalEntry(zip, entries, "[Content_Types].xml", ContentTypesXml(files));
    const uint32_t directory = static_cast<uint32_t>(zip.size());
    for (const Written& entry : entries) {
        PutLe32(zip, 0x02014b50);
        PutLe16(zip, 20);
        PutLe16(zip, 20);
        PutLe16(zip, 0);
        PutLe16(zip, 0);
        PutLe16(zip, 0);
        PutLe16(zip, 0x0021);
        PutLe32(zip, entry.crc);
        PutLe32(zip, entry.size);
        PutLe32(zip, entry.size);
        PutLe16(zip, static_cast<uint32_t>(entry.name.size()));
        for (int i = 0; i < 4; ++i)  // extra, comment, disk, internal attributes
            PutLe16(zip, 0);
        PutLe32(zip, 0);
        PutLe32(zip, entry.offset);
        zip += entry.name;
    }
    const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directory;
    PutLe32(zip, 0x06054b50);
    PutLe16(zip, 0);
    PutLe16(zip, 0);
    PutLe16(zip, static_cast<uint32_t>(entries.size()));
    PutLe16(zip, static_cast<uint32_t>(entries.size()));
    PutLe32(zip, directorySize);
    PutLe32(zip, directory);
    PutLe16(zip, 0);
    return zip;
}

void PackFolder(const std::string& folder, const std::string& out) {
    namespace fs = std::filesystem;
    std::vector<PackageFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().lexically_relative(folder).generic_string();
        if (name == "AppxBlockMap.xml" || name == "[Content_Types].xml")
            continue;  // written here
        files.push_back({name, ReadFile(entry.path().string())});
    }
    if (std::none_of(files.begin(), files.end(),
                     [](const PackageFile& f) { return f.name == "AppxManifest.xml"; }))
        throw std::runtime_error(folder + " holds no AppxManifest.xml");
    SortForBlockMap(files);
    WriteFile(out, PackageZip(files));
}

}  // namespace package_tool
