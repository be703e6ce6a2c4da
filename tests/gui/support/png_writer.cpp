#include "support/png_writer.h"

#include <cstdio>

namespace png {

namespace {

void PutBig32(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void PutChunk(std::vector<unsigned char>& out, const char type[5], const std::vector<unsigned char>& data)
{
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

}  // namespace

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t Adler32(const unsigned char* data, std::size_t size)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

std::vector<unsigned char> Encode(int width, int height, const std::vector<std::uint32_t>& pixels)
{
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (width <= 0 || height <= 0
        || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return std::vector<unsigned char>();

    std::vector<unsigned char> header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit, truecolour, deflate, no filter, no interlace
    PutChunk(out, "IHDR", header);

    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)
                                     + static_cast<std::size_t>(x)];
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }

    std::vector<unsigned char> z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t block = raw.size() - pos;
        if (block > 65535)
            block = 65535;
        bool last = pos + block == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<unsigned char>(block));
        z.push_back(static_cast<unsigned char>(block >> 8));
        z.push_back(static_cast<unsigned char>(~block));
        z.push_back(static_cast<unsigned char>(~block >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + block));
        pos += block;
    } while (pos < raw.size());
    PutBig32(z, Adler32(raw.data(), raw.size()));
    PutChunk(out, "IDAT", z);
    PutChunk(out, "IEND", std::vector<unsigned char>());
    return out;
}

bool WriteFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    std::vector<unsigned char> bytes = Encode(width, height, pixels);
    if (bytes.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace png
