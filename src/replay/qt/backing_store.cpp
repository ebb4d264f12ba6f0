#include "replay/qt/backing_store.h"

#include <QBackingStore>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <qpa/qplatformbackingstore.h>  // the only way to the pixels a backing store holds

#include "qt/form_window.h"
#include "qt/painting.h"

namespace qtreplay {

ScreenComparison compareWithRender(qthost::FormWindow& window, const rt::Form& form)
{
    QBackingStore* store = window.backingStore();
    if (!store || !store->handle())
        return {};
    QImage shown = store->handle()->toImage();
    if (shown.isNull())
        return {};
    if (shown.format() != QImage::Format_RGB32)
        shown = shown.convertToFormat(QImage::Format_RGB32);

    const qthost::Surface& surface = *window.surface();
    const double dpr = surface.devicePixelRatioF();
    // Qt paints a child widget from the device pixel nearest its logical position.
    const QPoint at = surface.mapTo(&window, QPoint(0, 0));
    const int x0 = qRound(at.x() * dpr), y0 = qRound(at.y() * dpr);
    const int width = static_cast<int>(std::floor(surface.width() * dpr));
    const int height = static_cast<int>(std::floor(surface.height() * dpr));
    // What of the surface lies on the window, in the surface's device pixels.
    const QRect visible = QRect(0, 0, width, height).intersected(shown.rect().translated(-x0, -y0));
    if (visible.isEmpty())
        return {};

    QImage fresh(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&fresh);
        qthost::paintForm(painter, form, {surface.twipsPerPixel(), dpr}, qthost::controlBackground(surface.palette()),
                          fresh.rect());
    }
    int differing = 0;
    QRect where;
    QPoint first;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y0 + y)) + x0;
        const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
        const std::size_t bytes = sizeof(QRgb) * static_cast<std::size_t>(visible.width());
        if (std::memcmp(a + visible.left(), b + visible.left(), bytes) == 0)
            continue;
        for (int x = visible.left(); x <= visible.right(); ++x) {
            if (((a[x] ^ b[x]) & 0xFFFFFFu) == 0)
                continue;
            if (differing++ == 0)
                first = QPoint(x, y);
            where |= QRect(x, y, 1, 1);
        }
    }
    if (differing == 0)
        return {true, std::nullopt};
    char text[256];
    std::snprintf(text, sizeof text,
                  "the screen shows #%06x at device pixel (%d, %d) of the surface where the runtime's state paints "
                  "#%06x; %d pixels differ within (%d, %d)-(%d, %d) of %d x %d",
                  shown.pixel(x0 + first.x(), y0 + first.y()) & 0xFFFFFFu, first.x(), first.y(),
                  fresh.pixel(first) & 0xFFFFFFu, differing, where.left(), where.top(), where.right(), where.bottom(),
                  width, height);
    return {true, text};
}

}  // namespace qtreplay
