// Writes the program icon, drawn as 16-colour pixel data in the window definitions, to image files for
// installation: PNGs scaled up by whole factors (nearest neighbour keeps the pixels crisp) and an ICO.
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

#include "forms/definitions.h"

namespace {

QImage iconImage(const rt::IconDefinition& icon)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const char c = icon.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (c == '.') {
                image.setPixel(x, y, 0);
                continue;
            }
            const int index = c <= '9' ? c - '0' : c - 'A' + 10;
            image.setPixel(x, y, 0xFF000000u | rt::kIconPalette[static_cast<std::size_t>(index)]);
        }
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QImage icon = iconImage(forms::kProgramIcon);
    for (int size : {32, 64, 128, 256}) {
        const QString path = dir + QStringLiteral("/splitter-%1.png").arg(size);
        if (!icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(path)) {
            std::fprintf(stderr, "export_icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString ico = dir + QStringLiteral("/splitter.ico");
    if (!icon.save(ico, "ICO")) {
        std::fprintf(stderr, "export_icon: cannot write %s\n", qPrintable(ico));
        return 1;
    }
    return 0;
}
