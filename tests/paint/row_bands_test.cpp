// Fills turned into bands of rows, and those written into pixels, against a plain painting of each fill in
// turn.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "paint/row_bands.h"
#include "paint/row_pixels.h"

namespace {

using paint::Box;
using paint::Fill;
using paint::Rgb;
using paint::Span;

constexpr Rgb kUntouched = 0xFF12345Au, kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGrey = 0xFF808080u;

// A picture of `width` x `height` pixels whose pixel (0, 0) lies at `origin` within a buffer large enough.
struct Picture {
    int width, height, originX = 0, originY = 0;
    std::vector<Rgb> pixels = std::vector<Rgb>(std::size_t(width + originX) * (height + originY), kUntouched);

    Rgb* at00() { return pixels.data() + std::ptrdiff_t(originY) * stride() + originX; }
    std::ptrdiff_t stride() const { return width + originX; }
};

// Each fill's pixels inside `area`, painted in turn.
Picture paintedInTurn(const std::vector<Fill>& fills, const Box& area, Picture picture)
{
    for (const Fill& f : fills) {
        const Box b = Box{f.left, f.top, f.right, f.bottom} & area;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                picture.at00()[y * picture.stride() + x] = f.colour;
    }
    return picture;
}

Picture writtenByRows(const std::vector<Fill>& fills, const Box& area, Picture picture)
{
    paint::RowBands rows;
    paint::writeFills(fills, area, picture.at00(), picture.stride(), rows);
    return picture;
}

// The spans of the one tall band that `rows` must hold.
std::vector<Span> onlyBandSpans(const paint::RowBands& rows)
{
    EXPECT_EQ(rows.bands().size(), 1u);
    if (rows.bands().empty() || !rows.bands()[0].tall)
        return {};
    const auto spans = rows.spans(rows.bands()[0]);
    return {spans.begin(), spans.end()};
}

TEST(RowBands, ALaterFillCoversAnEarlierOneWhereTheyOverlap)
{
    paint::RowBands rows;
    // Blue painted over the middle of red, then red again over the right part of blue.
    rows.build(std::vector<Fill>{{0, 0, 40, 10, kRed}, {10, 0, 30, 10, kBlue}, {25, 0, 28, 10, kRed}},
               {0, 0, 100, 100});
    EXPECT_EQ(onlyBandSpans(rows),
              (std::vector<Span>{{0, 10, kRed}, {10, 25, kBlue}, {25, 28, kRed}, {28, 30, kBlue}, {30, 40, kRed}}));
    // The same fills in the other order: the red one, painted last, hides the blue one.
    rows.build(std::vector<Fill>{{10, 0, 30, 10, kBlue}, {0, 0, 40, 10, kRed}}, {0, 0, 100, 100});
    EXPECT_EQ(onlyBandSpans(rows), (std::vector<Span>{{0, 40, kRed}}));
}

TEST(RowBands, TouchingAndOverlappingFillsOfOneColourMakeOneSpan)
{
    paint::RowBands rows;
    rows.build(
        std::vector<Fill>{{20, 0, 30, 8, kGrey}, {0, 0, 10, 8, kGrey}, {5, 0, 20, 8, kGrey}, {30, 0, 31, 8, kRed}},
        {0, 0, 100, 100});
    EXPECT_EQ(onlyBandSpans(rows), (std::vector<Span>{{0, 30, kGrey}, {30, 31, kRed}}));
}

TEST(RowBands, FillsAreClippedToTheArea)
{
    paint::RowBands rows;
    rows.build(std::vector<Fill>{{-50, -50, 500, 500, kRed}, {15, 5, 18, 90, kBlue}}, {10, 10, 20, 30});
    ASSERT_EQ(rows.bands().size(), 1u);
    EXPECT_EQ(rows.bands()[0].top, 10);
    EXPECT_EQ(rows.bands()[0].bottom, 30);
    EXPECT_EQ(onlyBandSpans(rows), (std::vector<Span>{{10, 15, kRed}, {15, 18, kBlue}, {18, 20, kRed}}));
    // Rows 10 and 11 have no blue: a short band, which keeps its fills (clipped) rather than spans.
    rows.build(std::vector<Fill>{{-50, -50, 500, 500, kRed}, {15, 12, 18, 90, kBlue}}, {10, 10, 20, 30});
    ASSERT_EQ(rows.bands().size(), 2u);
    EXPECT_FALSE(rows.bands()[0].tall);
    EXPECT_EQ(rows.bands()[0].bottom, 12);
    const auto fills = rows.fills();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].left, 10);
    EXPECT_EQ(fills[0].bottom, 30);
    EXPECT_EQ(fills[1].bottom, 30);
    EXPECT_EQ(rows.covering(rows.bands()[0])[0], 1u);  // the red fill alone
}

TEST(RowBands, EmptyFillsFillsOutsideTheAreaAndAnEmptyAreaMakeNoBands)
{
    paint::RowBands rows;
    const std::vector<Fill> nothingInside{{5, 5, 5, 20, kRed}, {5, 9, 20, 3, kRed}, {200, 0, 300, 50, kBlue},
                                          {0, -40, 50, 0, kBlue}};
    rows.build(nothingInside, {0, 0, 100, 100});
    EXPECT_TRUE(rows.bands().empty());
    rows.build(std::vector<Fill>{{0, 0, 100, 100, kRed}}, {50, 50, 50, 80});
    EXPECT_TRUE(rows.bands().empty());
    // Rows no fill covers are in no band.
    rows.build(std::vector<Fill>{{0, 0, 10, 10, kRed}, {0, 30, 10, 40, kRed}}, {0, 0, 100, 100});
    ASSERT_EQ(rows.bands().size(), 2u);
    EXPECT_EQ(rows.bands()[0].bottom, 10);
    EXPECT_EQ(rows.bands()[1].top, 30);
}

TEST(RowBands, AlikeRowsShareABandAndRowsThatDifferSplitIt)
{
    paint::RowBands rows;
    // Two fills stacked in one colour look like one: one band, though a fill ends at row 20.
    rows.build(std::vector<Fill>{{0, 0, 50, 20, kRed}, {0, 20, 50, 40, kRed}, {50, 0, 60, 40, kBlue}},
               {0, 0, 100, 100});
    ASSERT_EQ(rows.bands().size(), 1u);
    EXPECT_EQ(rows.bands()[0].bottom, 40);
    // In another colour the lower one starts a band of its own.
    rows.build(std::vector<Fill>{{0, 0, 50, 20, kRed}, {0, 20, 50, 40, kGrey}, {50, 0, 60, 40, kBlue}},
               {0, 0, 100, 100});
    ASSERT_EQ(rows.bands().size(), 2u);
    EXPECT_EQ(rows.bands()[0].bottom, 20);
    EXPECT_EQ(rows.bands()[1].top, 20);
}

// Sunken frames, panes and the lines between them at random, overlapping, in and out of the area, with
// the picture's origin away from the buffer's: the rows must show exactly what painting each fill in turn
// shows, and nothing outside the area or outside every fill may be written.
TEST(RowBands, WrittenRowsEqualEachFillPaintedInTurn)
{
    std::mt19937 random(7);
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const Rgb colours[] = {kRed, kBlue, kGrey, 0xFFFFFFFFu, 0xFF404040u};
    for (int round = 0; round < 300; ++round) {
        std::vector<Fill> fills;
        for (int count = between(1, 30); count > 0; --count) {
            const int kind = between(0, 3);  // a pane, a vertical line, a horizontal line, anything
            const int x = between(-20, 180), y = between(-20, 130);
            const int w = kind == 1 ? between(1, 3) : kind == 2 ? between(20, 200) : between(0, 120);
            const int h = kind == 2 ? between(1, 3) : kind == 1 ? between(20, 150) : between(0, 100);
            fills.push_back({x, y, x + w, y + h, colours[between(0, 4)]});
        }
        Picture picture{200, 150, between(0, 9), between(0, 5)};
        const Box area = Box{between(-10, 120), between(-10, 80), between(30, 210), between(20, 160)} &
                         Box{0, 0, picture.width, picture.height};
        ASSERT_EQ(writtenByRows(fills, area, picture).pixels, paintedInTurn(fills, area, picture).pixels)
            << "round " << round << ", " << fills.size() << " fills";
    }
}

}  // namespace
