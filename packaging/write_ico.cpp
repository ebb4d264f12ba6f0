// Writes the program icon, drawn as 16-colour pixel data in the window definitions, to an ICO file: one
// 32 x 32 image of 32-bit pixels with alpha. Needs nothing but the standard library, so that it also
// builds where the Windows program is cross-compiled.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "forms/definitions.h"

namespace {

void put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::vector<unsigned char> icoFile(const rt::IconDefinition& icon)
{
    constexpr unsigned kSize = 32, kHeader = 40, kPixels = kSize * kSize * 4, kMask = kSize * 4;
    std::vector<unsigned char> out;
    put16(out, 0), put16(out, 1), put16(out, 1);  // reserved, type icon, one image
    out.push_back(kSize), out.push_back(kSize), out.push_back(0), out.push_back(0);
    put16(out, 1), put16(out, 32);  // planes, bits per pixel
    put32(out, kHeader + kPixels + kMask * kSize);
    put32(out, 6 + 16);  // where the image starts
    // The image: a bitmap header whose height counts the colour rows and the mask rows.
    put32(out, kHeader), put32(out, kSize), put32(out, kSize * 2);
    put16(out, 1), put16(out, 32);
    put32(out, 0), put32(out, kPixels), put32(out, 0), put32(out, 0), put32(out, 0), put32(out, 0);
    for (unsigned row = 0; row < kSize; ++row) {  // bottom row first
        const auto line = icon.rows[kSize - 1 - row];
        for (unsigned x = 0; x < kSize; ++x) {
            const char c = line[x];
            const int index = c == '.' ? -1 : (c <= '9' ? c - '0' : c - 'A' + 10);
            put32(out, index < 0 ? 0u : 0xFF000000u | rt::kIconPalette[static_cast<std::size_t>(index & 15)]);
        }
    }
    out.insert(out.end(), kMask * kSize, 0);  // the AND mask: alpha decides
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    const std::vector<unsigned char> data = icoFile(forms::kProgramIcon);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(data.data(), 1, data.size(), file) != data.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "write_ico: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
