#include "qt/icons.h"

#include <QPixmap>

namespace qthost {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

QImage iconImage(const rt::IconDefinition& icon)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y) {
        const std::string_view row = icon.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < 32 && static_cast<std::size_t>(x) < row.size(); ++x) {
            const int index = hexDigit(row[static_cast<std::size_t>(x)]);
            if (index >= 0)
                image.setPixel(x, y, 0xFF000000u | rt::kIconPalette[static_cast<std::size_t>(index)]);
        }
    }
    return image;
}

QIcon toIcon(const rt::IconDefinition& icon) { return QIcon(QPixmap::fromImage(iconImage(icon))); }

}  // namespace qthost
