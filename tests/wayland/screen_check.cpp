// Reads screenshots for the compositor tests: compares a window's pixels with a reference picture,
// tells which pointer a screenshot shows, and finds the entries of a menu bar.
#include <QColor>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage:\n"
    "  splitter-screen-check compare SHOT X Y REFERENCE\n"
    "      compares REFERENCE with the area of SHOT whose top-left corner is at (X, Y); prints how many\n"
    "      pixels differ and succeeds when none does\n"
    "  splitter-screen-check pointer WITH WITHOUT HOT_X HOT_Y\n"
    "      two shots of one area, with the pointer at (HOT_X, HOT_Y) and without it: prints the pointer's\n"
    "      shape, arrow, horizontal (a left-right sizing pointer), vertical, none or other\n"
    "  splitter-screen-check menu SHOT X Y WIDTH HEIGHT\n"
    "      prints the horizontal centre of each entry drawn in that menu bar area, from X\n"
    "  splitter-screen-check glyphs SHOT X Y WIDTH HEIGHT\n"
    "      the text drawn in that area is glyphs, not boxes: at least three shapes (runs of inked\n"
    "      columns), no two alike, as a font without the characters would draw the same box for each\n";

QImage load(const char* path)
{
    QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) {
        std::fprintf(stderr, "splitter-screen-check: cannot read %s\n", path);
        std::exit(2);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

int number(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end || value < -1000000 || value > 1000000) {
        std::fprintf(stderr, "splitter-screen-check: not a whole number: %s\n", text);
        std::exit(2);
    }
    return static_cast<int>(value);
}

int compare(const QImage& shot, int x0, int y0, const QImage& reference)
{
    if (!shot.rect().contains(QRect(x0, y0, reference.width(), reference.height()))) {
        std::printf("the reference (%dx%d at %d,%d) does not lie inside the shot (%dx%d)\n", reference.width(),
                    reference.height(), x0, y0, shot.width(), shot.height());
        return 1;
    }
    long differing = 0;
    QRect where;
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            if ((shot.pixel(x0 + x, y0 + y) & 0xFFFFFFu) != (reference.pixel(x, y) & 0xFFFFFFu)) {
                ++differing;
                where |= QRect(x, y, 1, 1);
            }
    std::printf("%ld of %lld pixels differ", differing, static_cast<long long>(reference.width()) * reference.height());
    if (differing)
        std::printf(", within %dx%d at %d,%d of the reference", where.width(), where.height(), where.x(), where.y());
    std::printf("\n");
    return differing == 0 ? 0 : 1;
}

// The pointer is where the two shots differ. An arrow hangs down and right from its hot spot; a
// sizing pointer spreads to both sides of it along its axis.
int pointer(const QImage& with, const QImage& without, int hotX, int hotY)
{
    if (with.size() != without.size()) {
        std::printf("the shots differ in size\n");
        return 1;
    }
    QRect drawn;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if ((with.pixel(x, y) & 0xFFFFFFu) != (without.pixel(x, y) & 0xFFFFFFu))
                drawn |= QRect(x, y, 1, 1);
    // How far the pointer reaches from its hot spot to each side.
    const int left = hotX - drawn.left(), right = drawn.right() - hotX;
    const int up = hotY - drawn.top(), down = drawn.bottom() - hotY;
    const int width = drawn.width(), height = drawn.height();
    const char* shape = "other";
    if (drawn.isEmpty())
        shape = "none";
    else if (width > height && left > width / 3 && right > width / 3)
        shape = "horizontal";
    else if (height > width && up > height / 3 && down > height / 3)
        shape = "vertical";
    else if (left < width / 4 && up < height / 4)
        shape = "arrow";
    std::printf("%s\n", shape);
    return 0;
}

// Entries are runs of columns with ink on them (pixels far from the bar's own colour), apart by more
// than the gaps inside a caption. Rows inked across most of the width (a separating line) are left out.
int menu(const QImage& shot, const QRect& bar)
{
    const QRect area = bar.intersected(shot.rect());
    if (area.isEmpty()) {
        std::printf("the menu bar area lies outside the shot\n");
        return 1;
    }
    const QRgb background = shot.pixel(area.right(), area.top() + area.height() / 2);
    const auto inked = [&](int x, int y) {
        return std::abs(qGray(shot.pixel(x, y)) - qGray(background)) > 64;
    };
    std::vector<bool> column(area.width(), false);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int count = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            count += inked(x, y);
        if (count > area.width() * 4 / 5)
            continue;
        for (int x = area.left(); x <= area.right(); ++x)
            if (inked(x, y))
                column[x - area.left()] = true;
    }
    const int minGap = std::max(6, area.height() / 3);
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < area.width(); ++x) {
        if (!column[x])
            continue;
        if (!runs.empty() && x - runs.back().second <= minGap)
            runs.back().second = x;
        else
            runs.emplace_back(x, x);
    }
    std::string line;
    for (const auto& [first, last] : runs)
        line += (line.empty() ? "" : " ") + std::to_string(area.left() - bar.left() + (first + last) / 2);
    std::printf("%s\n", line.c_str());
    return 0;
}

// Each run of inked columns as its mask of inked pixels, column by column.
int glyphs(const QImage& shot, const QRect& text)
{
    const QRect area = text.intersected(shot.rect());
    if (area.isEmpty()) {
        std::printf("the text area lies outside the shot\n");
        return 1;
    }
    const QRgb background = shot.pixel(area.right(), area.top());
    const auto inked = [&](int x, int y) { return std::abs(qGray(shot.pixel(x, y)) - qGray(background)) > 64; };
    std::vector<std::string> shapes;
    std::string current;
    for (int x = area.left(); x <= area.right() + 1; ++x) {
        std::string column;
        bool any = false;
        for (int y = area.top(); x <= area.right() && y <= area.bottom(); ++y) {
            column += inked(x, y) ? '#' : '.';
            any = any || column.back() == '#';
        }
        if (any) {
            current += column + '|';
        } else if (!current.empty()) {
            shapes.push_back(std::move(current));
            current.clear();
        }
    }
    int alike = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i)
        for (std::size_t j = i + 1; j < shapes.size(); ++j)
            alike += shapes[i] == shapes[j];
    std::printf("%zu shapes, %d pairs alike\n", shapes.size(), alike);
    return shapes.size() >= 3 && alike == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "compare" && argc == 6)
        return compare(load(argv[2]), number(argv[3]), number(argv[4]), load(argv[5]));
    if (command == "pointer" && argc == 6)
        return pointer(load(argv[2]), load(argv[3]), number(argv[4]), number(argv[5]));
    if (command == "menu" && argc == 7)
        return menu(load(argv[2]), QRect(number(argv[3]), number(argv[4]), number(argv[5]), number(argv[6])));
    if (command == "glyphs" && argc == 7)
        return glyphs(load(argv[2]), QRect(number(argv[3]), number(argv[4]), number(argv[5]), number(argv[6])));
    std::fputs(kUsage, command == "--help" ? stdout : stderr);
    return command == "--help" ? 0 : 2;
}
