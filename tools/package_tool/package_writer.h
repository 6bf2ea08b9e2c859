// Packs a folder as an app package: every file of the folder stored in a zip, in the order
// the block map lists them, then AppxBlockMap.xml and [Content_Types].xml.
#pragma once

#include <string>
#include <vector>

namespace package_tool {

struct PackageFile {
    std::string name;  // with "/" between folders, as the zip names it
    std::string bytes;
};

// Case-insensitive ascending by name, as Windows demands of the block map.
void SortForBlockMap(std::vector<PackageFile>& files);

std::string BlockMapXml(const std::vector<PackageFile>& files);
std::string ContentTypesXml(const std::vector<PackageFile>& files);
// The whole package: the files (already sorted), the block map and the content types.
std::string PackageZip(const std::vector<PackageFile>& files);

// Reads the folder's files (AppxManifest.xml among them) and writes the package.
void PackFolder(const std::string& folder, const std::string& out);

}  // namespace package_tool
