// Fills written straight into pixels, row band by row band, must land exactly where QPainter::fillRect puts
// the same rectangles.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "qt/painting.h"

namespace {

// No fill has this colour.
constexpr QRgb kUntouched = 0xFF12345Au;

QImage blank(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

// The fills drawn by the painter, in order, clipped to `area`.
QImage painted(const std::vector<paint::Fill>& fills, const QSize& size, const QRect& area)
{
    QImage image = blank(size);
    QPainter painter(&image);
    painter.setClipRect(area);
    for (const paint::Fill& f : fills)
        painter.fillRect(QRect(f.left, f.top, f.right - f.left, f.bottom - f.top), QColor::fromRgb(f.colour));
    return image;
}

// The same fills written directly, the picture's origin at `origin` in the image.
QImage written(const std::vector<paint::Fill>& fills, const QSize& size, const QRect& area, QPoint origin = {})
{
    QImage image = blank(size);
    qthost::rasterizeFills(fills, area.translated(-origin), image.bits(), image.bytesPerLine(), origin);
    return image;
}

TEST(RasterizeFills, EveryWidthAndHeightCoversItsRectangleAndNothingElse)
{
    const QSize size(300, 40);
    for (int width = 1; width <= 290; ++width) {
        for (const int height : {1, 7, 8, 9, 17}) {
            const std::vector<paint::Fill> fills{{5, 3, 5 + width, 3 + height, 0xFF336699u}};
            ASSERT_TRUE(written(fills, size, QRect(QPoint(0, 0), size)) == painted(fills, size, QRect(QPoint(0, 0), size)))
                << width << " x " << height;
        }
    }
}

TEST(RasterizeFills, OverlappingFillsClippedAndTranslatedAgreeWithThePainter)
{
    std::mt19937 random(31);
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QSize size(420, 260);
    for (int round = 0; round < 200; ++round) {
        std::vector<paint::Fill> fills;
        const int count = between(1, 40);
        for (int i = 0; i < count; ++i) {
            // Wide panes, thin frame lines and everything between, some reaching outside the image.
            const bool line = between(0, 2) == 0;
            const int x = between(-20, 400), y = between(-20, 240);
            const int w = line ? between(1, 9) : between(1, 300), h = line ? between(1, 260) : between(1, 120);
            fills.push_back({x, y, x + w, y + h, 0xFF000000u | QRgb(between(0, 0xFFFFFF))});
        }
        const QPoint origin(between(0, 30), between(0, 20));
        const QRect area = QRect(between(-10, 200), between(-10, 120), between(1, 400), between(1, 250))
                               .intersected(QRect(QPoint(0, 0), size));
        if (area.isEmpty())
            continue;
        // The painter draws the picture shifted by `origin` as well.
        std::vector<paint::Fill> shifted = fills;
        for (paint::Fill& f : shifted)
            f = {f.left + origin.x(), f.top + origin.y(), f.right + origin.x(), f.bottom + origin.y(), f.colour};
        ASSERT_TRUE(written(fills, size, area, origin) == painted(shifted, size, area))
            << "round " << round << ", " << count << " fills";
    }
}

}  // namespace
