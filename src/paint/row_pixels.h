// Writing a picture's bands of rows into 32-bit pixels in memory order: band by band, top to bottom, a few
// rows at a time, each row left to right, so that every cache line of the image is fetched once however
// many fills cross it. Both hosts write their pixels through this. No GUI toolkit here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "paint/row_bands.h"

namespace paint {

// Writes every band's spans: pixel (x, y) of the picture is picture[y * stride + x], which must be valid
// for every pixel of every span.
void writeRows(const RowBands& rows, std::uint32_t* picture, std::ptrdiff_t stride);

// Writes fills, in painting order, only inside `area`, through `rows`, whose buffers are kept for the next
// picture.
inline void writeFills(std::span<const Fill> fills, const Box& area, std::uint32_t* picture, std::ptrdiff_t stride,
                       RowBands& rows)
{
    rows.build(fills, area);
    writeRows(rows, picture, stride);
}

}  // namespace paint
