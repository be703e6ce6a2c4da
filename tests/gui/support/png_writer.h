// A minimal PNG encoder for test screenshots: 8-bit RGB, deflate "stored" blocks
// (no compression), so it needs nothing but the standard library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png {

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const unsigned char* data, std::size_t size);

// pixels: width * height values 0x00RRGGBB, rows top to bottom.
std::vector<unsigned char> Encode(int width, int height, const std::vector<std::uint32_t>& pixels);
bool WriteFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace png
