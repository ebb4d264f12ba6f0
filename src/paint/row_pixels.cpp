#include "paint/row_pixels.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace paint {
namespace {

// The pixel loops below are plain C++ that the compiler vectorises; on x86-64 ELF systems they are
// compiled twice, for AVX2 and for the baseline, and the loader picks the one the processor runs (unless
// configured with SPLITTER_PIXEL_CLONES off, to measure the baseline on a processor that has AVX2).
#if defined(__x86_64__) && defined(__ELF__) && defined(__has_attribute) && !defined(SPLITTER_BASELINE_PIXELS_ONLY)
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

// The rows of a tall band written together, each solid and group of windows down all of them before the
// next: few enough that their pixels (38 KiB at 600 pixels a row) stay in the first-level cache until the
// strip is done, so that a cache line two neighbouring spans share is still there when the second writes
// it (at 64 rows it had gone to the next level); enough to share the cost of starting each span.
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
        // Keeps p the one pointer, each row's address p plus a fixed offset that the stores take as it is:
        // left to itself, the compiler moves a pointer of its own for each row on every step.
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

// K blocks of 8 pixels in each of `height` rows: at p, p + 8, ..., and the last ending at p + offset + 8,
// where it may overlap the one before.
template <int K>
SPLITTER_PIXEL_HELPER void fillEightsDown(std::uint32_t* p, std::ptrdiff_t offset, int height, std::ptrdiff_t stride,
                                          Rgb colour)
{
    downRows(p, height, stride, [colour, offset](std::uint32_t* q) __attribute__((always_inline)) {
        fillBlock<8 * (K - 1)>(q, colour);
        fillBlock<8>(q + offset, colour);
    });
}

// A solid at least 8 pixels wide: blocks of 256 pixels, one of 128 if as many are left, then the rest,
// under 128 pixels, as blocks of 8, the last ending at the solid's right edge.
SPLITTER_PIXEL_HELPER void fillWide(std::uint32_t* p, int width, int height, std::ptrdiff_t stride, Rgb colour)
{
    std::uint32_t* const end = p + width;
    for (; end - p >= 256; p += 256)
        fillBlockDown<256>(p, height, stride, colour);
    if (end - p >= 128) {
        fillBlockDown<128>(p, height, stride, colour);
        p += 128;
    }
    const std::ptrdiff_t rest = end - p;
    if (rest == 0)
        return;
    if (rest < 8) {
        fillBlockDown<8>(end - 8, height, stride, colour);
        return;
    }
    const std::ptrdiff_t last = rest - 8;
    switch ((rest + 7) / 8) {
    case 1: fillBlockDown<8>(p, height, stride, colour); break;
    case 2: fillEightsDown<2>(p, last, height, stride, colour); break;
    case 3: fillEightsDown<3>(p, last, height, stride, colour); break;
    case 4: fillEightsDown<4>(p, last, height, stride, colour); break;
    case 5: fillEightsDown<5>(p, last, height, stride, colour); break;
    case 6: fillEightsDown<6>(p, last, height, stride, colour); break;
    case 7: fillEightsDown<7>(p, last, height, stride, colour); break;
    case 8: fillEightsDown<8>(p, last, height, stride, colour); break;
    case 9: fillEightsDown<9>(p, last, height, stride, colour); break;
    case 10: fillEightsDown<10>(p, last, height, stride, colour); break;
    case 11: fillEightsDown<11>(p, last, height, stride, colour); break;
    case 12: fillEightsDown<12>(p, last, height, stride, colour); break;
    case 13: fillEightsDown<13>(p, last, height, stride, colour); break;
    case 14: fillEightsDown<14>(p, last, height, stride, colour); break;
    case 15: fillEightsDown<15>(p, last, height, stride, colour); break;
    default: fillEightsDown<16>(p, last, height, stride, colour); break;
    }
}

// Any solid: narrower than 8 pixels, as a block of its width.
SPLITTER_PIXEL_HELPER void writeSolid(std::uint32_t* p, int width, int height, std::ptrdiff_t stride, Rgb colour)
{
    switch (width) {
    case 1: fillBlockDown<1>(p, height, stride, colour); break;
    case 2: fillBlockDown<2>(p, height, stride, colour); break;
    case 3: fillBlockDown<3>(p, height, stride, colour); break;
    case 4: fillBlockDown<4>(p, height, stride, colour); break;
    case 5: fillBlockDown<5>(p, height, stride, colour); break;
    case 6: fillBlockDown<6>(p, height, stride, colour); break;
    case 7: fillBlockDown<7>(p, height, stride, colour); break;
    default: fillWide(p, width, height, stride, colour); break;
    }
}

// Eight pixels as one value, which the compiler keeps in a vector register and stores at once.
typedef std::uint32_t EightPixels __attribute__((vector_size(32), aligned(4)));
static_assert(sizeof(EightPixels) == sizeof(Window{}.pixels));

// Windows, N of them, in each of `height` rows from `row`: their pixels held in registers and all of them
// written in one pass down the rows, two rows a step, each from a pointer of its own.
template <int N>
SPLITTER_PIXEL_HELPER void writeWindows(const Window* w, std::uint32_t* row, int height, std::ptrdiff_t stride)
{
    EightPixels pixels[N];
    std::uint32_t* at[N];
#pragma GCC unroll 4
    for (int i = 0; i < N; ++i) {
        std::memcpy(&pixels[i], w[i].pixels, sizeof pixels[i]);  // a copy, which the pixel stores cannot alias
        at[i] = row + w[i].left;
    }
    const std::ptrdiff_t two = 2 * stride;
    for (; height >= 2; height -= 2) {
#pragma GCC unroll 4
        for (int i = 0; i < N; ++i) {
            std::memcpy(at[i], &pixels[i], sizeof pixels[i]);
            std::memcpy(at[i] + stride, &pixels[i], sizeof pixels[i]);
            at[i] += two;
        }
    }
    if (height > 0) {
#pragma GCC unroll 4
        for (int i = 0; i < N; ++i)
            std::memcpy(at[i], &pixels[i], sizeof pixels[i]);
    }
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

// One strip of a tall band: its solids left to right, each down the strip's rows, then its windows, up to
// four at a time.
SPLITTER_PIXEL_HELPER void writeStrip(std::span<const Solid> solids, std::span<const Window> windows,
                                      std::uint32_t* row, int height, std::ptrdiff_t stride)
{
    for (const Solid& s : solids)
        writeSolid(row + s.left, s.width, height, stride, s.colour);
    const Window* w = windows.data();
    std::size_t left = windows.size();
    for (; left >= 4; left -= 4, w += 4)
        writeWindows<4>(w, row, height, stride);
    if (left == 3)
        writeWindows<3>(w, row, height, stride);
    else if (left == 2)
        writeWindows<2>(w, row, height, stride);
    else if (left == 1)
        writeWindows<1>(w, row, height, stride);
}

// A tall band, a strip of rows at a time. Full strips are written by a copy of the code that knows their
// height, so that the loops down their rows are unrolled whole.
SPLITTER_PIXEL_HELPER void writeTall(const RowBands& rows, const Band& band, std::uint32_t* picture,
                                     std::ptrdiff_t stride)
{
    const std::span<const Solid> solids = rows.solids(band);
    const std::span<const Window> windows = rows.windows(band);
    int y = band.top;
    for (; band.bottom - y >= kStripRows; y += kStripRows)
        writeStrip(solids, windows, picture + std::ptrdiff_t(y) * stride, kStripRows, stride);
    if (y < band.bottom)
        writeStrip(solids, windows, picture + std::ptrdiff_t(y) * stride, band.bottom - y, stride);
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
