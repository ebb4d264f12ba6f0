#include "qt_test_support.h"

#include <QApplication>
#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointingDevice>
#include <cmath>

#include "qt/painting.h"

namespace qttest {

HostTest::HostTest()
{
    host.runtime().setErrorOutput([this](const std::string& line) { errors.push_back(line); });
    host.setQuitHandler({});
    program.start();
    QCoreApplication::processEvents();
}

HostTest::~HostTest() = default;

void HostTest::TearDown()
{
    for (const std::string& line : errors)
        ADD_FAILURE() << "unexpected error report: " << line;
}

std::vector<rt::Form*> HostTest::allForms()
{
    program.SanbunMenu_Click();
    program.YonbunMenu_Click();
    program.RokuBunMenu_Click();
    QCoreApplication::processEvents();
    return {&main(), program.instance<forms::Splitter3>(), program.instance<forms::Splitter4>(), program.instance<forms::Splitter5>()};
}

qthost::FormWindow& HostTest::windowOf(const rt::Form& form)
{
    qthost::FormWindow* w = host.window(form);
    if (!w)
        throw std::logic_error(std::string(form.name()) + " has no window");
    return *w;
}

QImage HostTest::grabSurface(const rt::Form& form)
{
    QCoreApplication::processEvents();
    return surfaceOf(form).grab().toImage().convertToFormat(QImage::Format_RGB32);
}

PaintRecorder::PaintRecorder(QWidget& widget) : QObject(&widget) { widget.installEventFilter(this); }

std::vector<QRegion> PaintRecorder::take()
{
    QCoreApplication::processEvents();
    std::vector<QRegion> taken;
    taken.swap(painted_);
    return taken;
}

bool PaintRecorder::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        painted_.push_back(static_cast<QPaintEvent*>(event)->region());
    return false;
}

QPoint pixelOn(const rt::Form& form, const std::string& control)
{
    const rt::Control* target = form.find(control);
    if (!target)
        return {-1, -1};
    std::vector<QPoint> hits;
    const int w = static_cast<int>(form.ScaleWidth() / 15), h = static_cast<int>(form.ScaleHeight() / 15);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (form.hitTest(x * 15.0, y * 15.0) == target)
                hits.emplace_back(x, y);
    return hits.empty() ? QPoint(-1, -1) : hits[hits.size() / 2];
}

void sendMouse(QWidget& widget, QEvent::Type type, QPointF position, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons, modifiers,
                      QPointingDevice::primaryPointingDevice());
    QApplication::sendEvent(&widget, &event);
}

QRgb rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

QImage shownClientArea(qthost::FormWindow& window)
{
    QCoreApplication::processEvents();
    QBackingStore* store = window.backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return {};
    const QImage whole = static_cast<QImage*>(device)->convertToFormat(QImage::Format_RGB32);
    const qthost::Surface& surface = *window.surface();
    const double ratio = surface.devicePixelRatioF();
    const QPoint at = surface.mapTo(&window, QPoint(0, 0));
    const QRect client(qRound(at.x() * ratio), qRound(at.y() * ratio), qRound(surface.width() * ratio),
                       qRound(surface.height() * ratio));
    return whole.copy(client.intersected(whole.rect()));
}

QImage freshDrawing(const qthost::Surface& surface)
{
    const rt::Form* form = surface.form();
    if (!form)
        return {};
    return qthost::renderForm(*form, surface.devicePixelRatioF(), surface.twipsPerPixel(), surface.palette())
        .convertToFormat(QImage::Format_RGB32);
}

bool showsFreshDrawing(qthost::FormWindow& window, std::string* why)
{
    const QImage shown = shownClientArea(window);
    const QImage fresh = freshDrawing(*window.surface());
    const auto fail = [&](const std::string& text) {
        if (why)
            *why = text;
        return false;
    };
    if (shown.isNull() || fresh.isNull())
        return fail("no picture to compare");
    // At a fractional device offset the surface shares its last device row with the window below it.
    const qthost::Surface& surface = *window.surface();
    const double top = surface.mapTo(&window, QPoint(0, 0)).y() * surface.devicePixelRatioF();
    const bool sharedRow = std::abs(top - std::round(top)) > 1e-9;
    if (shown.width() != fresh.width() || (shown.height() != fresh.height() && !(sharedRow && shown.height() == fresh.height() - 1)))
        return fail("shown " + std::to_string(shown.width()) + " x " + std::to_string(shown.height()) + ", drawn " +
                    std::to_string(fresh.width()) + " x " + std::to_string(fresh.height()));
    long differing = 0;
    QPoint first;
    for (int y = 0; y < fresh.height() - (sharedRow ? 1 : 0) && y < shown.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            if ((a[x] ^ b[x]) & 0xFFFFFFu && differing++ == 0)
                first = QPoint(x, y);
    }
    if (differing == 0)
        return true;
    const QImage& f = fresh;
    return fail(std::to_string(differing) + " pixels differ, the first at (" + std::to_string(first.x()) + "," +
                std::to_string(first.y()) + "): shown " + QString::number(rgbAt(shown, first.x(), first.y()), 16).toStdString() +
                ", drawn " + QString::number(rgbAt(f, first.x(), first.y()), 16).toStdString());
}

}  // namespace qttest
