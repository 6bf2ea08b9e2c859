// The package for Windows 11's menu, as the build writes it beside the program: unpacked
// entry by entry, its XML read by the system's reader, the block map's hashes recomputed.
#include <windows.h>
#include <bcrypt.h>
#include <shlwapi.h>
#include <wincrypt.h>
#include <xmllite.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/core/unique_handle.h"
#include "support/host_path.h"
#include "support/temp_folder.h"
#include "velquin_shell_clsid.h"

namespace {

struct Entry {
    std::string name;
    size_t headerSize;  // the local header with its name and extra field
    int method;
    std::string data;
};

// The zip's entries in file order, read through their local headers.
std::vector<Entry> Unpack(const std::string& zip) {
    auto le = [&](size_t at, int bytes) {
        uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | static_cast<uint8_t>(zip.at(at + i));
        return value;
    };
    std::vector<Entry> entries;
    for (size_t at = 0; at + 30 <= zip.size() && le(at, 4) == 0x04034b50;) {
        const size_t nameLength = le(at + 26, 2), extra = le(at + 28, 2), size = le(at + 18, 4);
        Entry entry{zip.substr(at + 30, nameLength), 30 + nameLength + extra,
                    static_cast<int>(le(at + 8, 2)), ""};
        entry.data = zip.substr(at + entry.headerSize, size);
        at += entry.headerSize + size;
        entries.push_back(std::move(entry));
    }
    return entries;
}

struct Element {
    std::wstring name;
    std::map<std::wstring, std::wstring> attributes;
    std::wstring text;
};

// Every element of the document in order; an empty list when it is not well-formed XML.
std::vector<Element> ReadXml(const std::string& bytes) {
    platform::ComPtr<IStream> stream;
    stream.reset(::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                     static_cast<UINT>(bytes.size())));
    // The system's XML reader; the cross compiler has no import library for it.
    static const auto create = reinterpret_cast<decltype(&CreateXmlReader)>(reinterpret_cast<void*>(
        ::GetProcAddress(::LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    platform::ComPtr<IXmlReader> reader;
    if (!stream || !create || FAILED(create(__uuidof(IXmlReader), reader.put_void(), nullptr)) ||
        FAILED(reader->SetInput(stream.get())))
        return {};
    std::vector<Element> elements;
    XmlNodeType type;
    HRESULT result;
    while ((result = reader->Read(&type)) == S_OK) {
        const wchar_t* text = nullptr;
        if (type == XmlNodeType_Element) {
            Element element;
            reader->GetQualifiedName(&text, nullptr);
            element.name = text;
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
                 more = reader->MoveToNextAttribute()) {
                const wchar_t* value = nullptr;
                reader->GetQualifiedName(&text, nullptr);
                reader->GetValue(&value, nullptr);
                element.attributes[text] = value;
            }
            elements.push_back(std::move(element));
        } else if (type == XmlNodeType_Text && !elements.empty()) {
            reader->GetValue(&text, nullptr);
            elements.back().text += text;
        }
    }
    return result == S_FALSE ? elements : std::vector<Element>{};
}

std::wstring Base64Sha256(const std::string& bytes) {
    UCHAR digest[32] = {};
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        if (BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
            ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                             static_cast<ULONG>(bytes.size()), 0);
            ::BCryptFinishHash(hash, digest, sizeof(digest), 0);
            ::BCryptDestroyHash(hash);
        }
        ::BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    wchar_t text[64] = {};
    DWORD length = 64;
    ::CryptBinaryToStringW(digest, sizeof(digest), CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF, text,
                           &length);
    return text;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
}

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        entries_ = Unpack(testsupport::ReadBytes(testsupport::HostPath(VELQUIN_SHELL_PACKAGE)));
        ASSERT_GE(entries_.size(), 3u);
    }
    const Entry* Find(const std::string& name) const {
        for (const Entry& entry : entries_)
            if (entry.name == name)
                return &entry;
        return nullptr;
    }
    std::vector<Element> Xml(const std::string& name) const {
        const Entry* entry = Find(name);
        EXPECT_TRUE(entry) << name;
        return entry ? ReadXml(entry->data) : std::vector<Element>{};
    }
    std::vector<Entry> entries_;
};

const Element* First(const std::vector<Element>& elements, const std::wstring& name) {
    for (const Element& element : elements)
        if (element.name == name)
            return &element;
    return nullptr;
}

TEST_F(PackageTest, BlockMapListsEveryFileInOrderWithItsHashesAndHeaderSizes) {
    const std::vector<Element> map = Xml("AppxBlockMap.xml");
    ASSERT_FALSE(map.empty()) << "AppxBlockMap.xml is not well-formed";
    EXPECT_EQ(map[0].attributes.at(L"HashMethod"), L"http://www.w3.org/2001/04/xmlenc#sha256");
    std::vector<const Entry*> payload;
    for (const Entry& entry : entries_)
        if (entry.name != "AppxBlockMap.xml" && entry.name != "[Content_Types].xml")
            payload.push_back(&entry);
    ASSERT_TRUE(Find("AppxManifest.xml"));

    size_t file = 0;
    std::vector<std::wstring> blocks;
    auto checkFile = [&](const Element& listed) {
        ASSERT_LT(file, payload.size());
        const Entry& entry = *payload[file++];
        std::string name = entry.name;
        std::replace(name.begin(), name.end(), '/', '\\');
        SCOPED_TRACE(name);
        EXPECT_EQ(listed.attributes.at(L"Name"), Wide(name));
        EXPECT_EQ(entry.method, 0);
        EXPECT_EQ(listed.attributes.at(L"Size"), std::to_wstring(entry.data.size()));
        EXPECT_EQ(listed.attributes.at(L"LfhSize"), std::to_wstring(entry.headerSize));
        ASSERT_EQ(blocks.size(), (entry.data.size() + 65535) / 65536);
        for (size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i], Base64Sha256(entry.data.substr(i * 65536, 65536))) << i;
        if (file > 1) {
            EXPECT_LT(Lower(payload[file - 2]->name), Lower(entry.name));
        }
    };
    const Element* open = nullptr;
    for (const Element& element : map) {
        if (element.name == L"File") {
            if (open)
                checkFile(*open);
            open = &element;
            blocks.clear();
        } else if (element.name == L"Block") {
            blocks.push_back(element.attributes.at(L"Hash"));
        }
    }
    ASSERT_TRUE(open);
    checkFile(*open);
    EXPECT_EQ(file, payload.size());
    EXPECT_EQ(entries_.back().name, "[Content_Types].xml");
}

TEST_F(PackageTest, ManifestNamesTheExtensionsClassAndAnExternalLocation) {
    const std::vector<Element> manifest = Xml("AppxManifest.xml");
    ASSERT_FALSE(manifest.empty()) << "AppxManifest.xml is not well-formed";
    std::wstring clsid = VELQUIN_SHELL_CLSID_TEXT;
    clsid = clsid.substr(1, clsid.size() - 2);

    EXPECT_EQ(First(manifest, L"Identity")->attributes.at(L"Name"), L"Velquin.Shell");
    EXPECT_EQ(First(manifest, L"uap10:AllowExternalContent")->text, L"true");
    const Element* application = First(manifest, L"Application");
    ASSERT_TRUE(application);
    EXPECT_EQ(application->attributes.at(L"Executable"), L"velquin.exe");
    EXPECT_EQ(application->attributes.at(L"uap10:TrustLevel"), L"mediumIL");
    EXPECT_EQ(application->attributes.at(L"uap10:RuntimeBehavior"), L"win32App");
    EXPECT_EQ(First(manifest, L"rescap:Capability")->attributes.at(L"Name"), L"runFullTrust");

    std::vector<std::wstring> menus;
    for (const Element& element : manifest) {
        if (element.name == L"desktop5:ItemType")
            menus.push_back(element.attributes.at(L"Type"));
        else if (element.name == L"desktop5:Verb") {
            EXPECT_EQ(element.attributes.at(L"Clsid"), clsid);
        }
    }
    EXPECT_EQ(menus, (std::vector<std::wstring>{L"Directory", L"Directory\\Background"}));
    const Element* server = First(manifest, L"com:Class");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->attributes.at(L"Id"), clsid);
    EXPECT_EQ(server->attributes.at(L"Path"), L"velquin-shell.dll");

    // The logos it names are in the package.
    const Element* visuals = First(manifest, L"uap:VisualElements");
    ASSERT_TRUE(visuals);
    for (const std::wstring& logo :
         {First(manifest, L"Logo")->text, visuals->attributes.at(L"Square150x150Logo"),
          visuals->attributes.at(L"Square44x44Logo")}) {
        std::string name(logo.begin(), logo.end());
        std::replace(name.begin(), name.end(), '\\', '/');
        const Entry* entry = Find(name);
        ASSERT_TRUE(entry) << name;
        EXPECT_EQ(entry->data.substr(0, 8), "\x89PNG\r\n\x1a\n");
    }
}

TEST_F(PackageTest, ContentTypesCoverEveryFile) {
    const std::vector<Element> types = Xml("[Content_Types].xml");
    ASSERT_FALSE(types.empty()) << "[Content_Types].xml is not well-formed";
    std::map<std::wstring, std::wstring> defaults, overrides;
    for (const Element& element : types) {
        if (element.name == L"Default")
            defaults[element.attributes.at(L"Extension")] = element.attributes.at(L"ContentType");
        else if (element.name == L"Override")
            overrides[element.attributes.at(L"PartName")] = element.attributes.at(L"ContentType");
    }
    EXPECT_EQ(overrides[L"/AppxManifest.xml"], L"application/vnd.ms-appx.manifest+xml");
    EXPECT_EQ(overrides[L"/AppxBlockMap.xml"], L"application/vnd.ms-appx.blockmap+xml");
    EXPECT_EQ(defaults[L"png"], L"image/png");
    for (const Entry& entry : entries_) {
        const std::wstring part = L"/" + Wide(entry.name);
        const size_t dot = entry.name.rfind('.');
        EXPECT_TRUE(entry.name == "[Content_Types].xml" || overrides.count(part) ||
                    defaults.count(Wide(Lower(entry.name.substr(dot + 1)))))
            << entry.name;
    }
}

}  // namespace
