// Little helpers shared by the package tool's writers: files as byte strings, numbers in
// the byte orders the formats use, and the CRC-32 of zip and PNG.
#pragma once

#include <cstdint>
#include <string>

namespace package_tool {

std::string ReadFile(const std::string& path);
// Writes the whole file or throws std::runtime_error naming it.
void WriteFile(const std::string& path, const std::string& bytes);

void PutLe16(std::string& out, uint32_t value);
void PutLe32(std::string& out, uint32_t value);
void PutBe32(std::string& out, uint32_t value);
uint32_t GetLe32(const std::string& bytes, size_t at);

uint32_t Crc32(const std::string& bytes, uint32_t crc = 0);

}  // namespace package_tool
