#include "paint/row_pixels.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace paint {
namespace {

// The pixel loops below are plain C++ that the compiler vectorises; on x86-64 ELF systems they are
// compiled twice, for AVX2 and for the baseline, and the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__ELF__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define SPLITTER_PIXEL_LOOPS __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef SPLITTER_PIXEL_LOOPS
#define SPLITTER_PIXEL_LOOPS
#endif
// The helpers are built into each clone: left to itself, the compiler may keep one out of line, built for
// the baseline only.
#define SPLITTER_PIXEL_HELPER [[gnu::always_inline]] inline

// The rows of a tall band written together, each piece down all of them before the next: few enough
// that their pixels (38 KiB at 600 pixels a row) stay in the processor's near caches until the strip is
// done, so that each cache line is fetched once; enough to share the cost of starting each piece.
constexpr int kStripRows = 16;

// Calls write(q) for each of `height` rows from p, `stride` pixels apart, four rows a step: the loop's own
// work is small beside a few stores a row.
template <class WriteRow>
SPLITTER_PIXEL_HELPER void downRows(std::uint32_t* p, int height, std::ptrdiff_t stride, WriteRow write)
{
    const std::ptrdiff_t two = 2 * stride, three = 3 * stride, four = 4 * stride;
    for (; height >= 4; height -= 4) {
        write(p);
        write(p + stride);
        write(p + two);
        write(p + three);
        p += four;
        // The rows' addresses stay p plus a fixed offset, which each store takes as it is, instead of
        // four pointers of their own moved on every step.
        __asm__("" : "+r"(p));
    }
    for (; height > 0; --height, p += stride)
        write(p);
}

// N pixels from p: a fixed count, which the compiler unrolls into a few wide stores (left to itself, the
// baseline build keeps a loop of one store per four pixels).
template <int N>
SPLITTER_PIXEL_HELPER void fillBlock(std::uint32_t* p, Rgb colour)
{
#pragma GCC unroll 256
    for (int i = 0; i < N; ++i)
        p[i] = colour;
}

template <int N>
SPLITTER_PIXEL_HELPER void fillBlockDown(std::uint32_t* p, int height, std::ptrdiff_t stride, Rgb colour)
{
    downRows(p, height, stride, [colour](std::uint32_t* q) __attribute__((always_inline)) { fillBlock<N>(q, colour); });
}

// Blocks of N pixels at p and at p + offset, which may overlap, in each of `height` rows.
template <int N>
SPLITTER_PIXEL_HELPER void fillPairDown(std::uint32_t* p, std::ptrdiff_t offset, int height, std::ptrdiff_t stride,
                                        Rgb colour)
{
    downRows(p, height, stride, [colour, offset](std::uint32_t* q) __attribute__((always_inline)) {
        fillBlock<N>(q, colour);
        fillBlock<N>(q + offset, colour);
    });
}

// A solid at least 8 pixels wide: blocks of 256 pixels, one of 128 if as many are left, then the rest as
// two blocks that end at its two ends and overlap in the middle, written in one pass down the rows.
SPLITTER_PIXEL_HELPER void fillWide(std::uint32_t* p, int width, int height, std::ptrdiff_t stride, Rgb colour)
{
    std::uint32_t* const end = p + width;
    for (; end - p >= 256; p += 256)
        fillBlockDown<256>(p, height, stride, colour);
    if (end - p > 128) {
        fillBlockDown<128>(p, height, stride, colour);
        p += 128;
    }
    const std::ptrdiff_t rest = end - p;
    if (rest > 64)
        fillPairDown<64>(p, rest - 64, height, stride, colour);
    else if (rest > 32)
        fillPairDown<32>(p, rest - 32, height, stride, colour);
    else if (rest > 16)
        fillPairDown<16>(p, rest - 16, height, stride, colour);
    else if (rest > 8)
        fillPairDown<8>(p, rest - 8, height, stride, colour);
    else if (rest > 0)
        fillBlockDown<8>(end - 8, height, stride, colour);
}

// Any solid: narrower than 8 pixels, pixel by pixel.
SPLITTER_PIXEL_HELPER void writeSolid(std::uint32_t* p, int width, int height, std::ptrdiff_t stride, Rgb colour)
{
    if (width >= 8) {
        fillWide(p, width, height, stride, colour);
        return;
    }
    downRows(p, height, stride, [colour, width](std::uint32_t* q) __attribute__((always_inline)) {
        for (int x = 0; x < width; ++x)
            q[x] = colour;
    });
}

// Eight pixels as one value, which the compiler keeps in a vector register and stores at once.
typedef std::uint32_t EightPixels __attribute__((vector_size(32), aligned(4)));
static_assert(sizeof(EightPixels) == sizeof(Window));

// A window's pixels in each of `height` rows: one load, then one wide store a row.
SPLITTER_PIXEL_HELPER void writeWindow(std::uint32_t* p, int height, std::ptrdiff_t stride, const Window& w)
{
    EightPixels v;
    std::memcpy(&v, w.pixels, sizeof v);  // a copy, which the pixel stores cannot alias
    downRows(p, height, stride, [v](std::uint32_t* q) __attribute__((always_inline)) { std::memcpy(q, &v, sizeof v); });
}

// A short band, fill by fill in painting order, each within the band's rows: they stay in the cache until
// the band is done.
SPLITTER_PIXEL_HELPER void writeShort(const RowBands& rows, const Band& band, std::uint32_t* picture,
                                      std::ptrdiff_t stride)
{
    const Fill* const fills = rows.fills().data();
    const std::span<const std::uint64_t> reaching = rows.covering(band);
    for (std::size_t w = 0; w < reaching.size(); ++w) {
        for (std::uint64_t bits = reaching[w]; bits; bits &= bits - 1) {
            const Fill& f = fills[w * 64 + std::countr_zero(bits)];
            const int top = std::max(f.top, band.top), bottom = std::min(f.bottom, band.bottom);
            writeSolid(picture + std::ptrdiff_t(top) * stride + f.left, f.right - f.left, bottom - top, stride,
                       f.colour);
        }
    }
}

// One strip of a tall band: its pieces left to right, each down the strip's rows.
SPLITTER_PIXEL_HELPER void writeStrip(std::span<const Piece> pieces, const Window* window, std::uint32_t* row,
                                      int height, std::ptrdiff_t stride)
{
    for (const Piece& piece : pieces) {
        if (piece.width > 0)
            writeSolid(row + piece.left, piece.width, height, stride, piece.colour);
        else
            writeWindow(row + piece.left, height, stride, *window++);
    }
}

// A tall band, a strip of rows at a time. Full strips are written by a copy of the code that knows their
// height, so that the loops down their rows are unrolled whole.
SPLITTER_PIXEL_HELPER void writeTall(const RowBands& rows, const Band& band, std::uint32_t* picture,
                                     std::ptrdiff_t stride)
{
    const std::span<const Piece> pieces = rows.pieces(band);
    const Window* const windows = rows.windows(band);
    int y = band.top;
    for (; band.bottom - y >= kStripRows; y += kStripRows)
        writeStrip(pieces, windows, picture + std::ptrdiff_t(y) * stride, kStripRows, stride);
    if (y < band.bottom)
        writeStrip(pieces, windows, picture + std::ptrdiff_t(y) * stride, band.bottom - y, stride);
}

}  // namespace

SPLITTER_PIXEL_LOOPS
void writeRows(const RowBands& rows, std::uint32_t* picture, std::ptrdiff_t stride)
{
    for (const Band& band : rows.bands()) {
        if (band.tall)
            writeTall(rows, band, picture, stride);
        else
            writeShort(rows, band, picture, stride);
    }
}

}  // namespace paint
