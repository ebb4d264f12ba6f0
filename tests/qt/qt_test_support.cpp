#include "qt_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointingDevice>

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
    return {&main(), program.splitter3(), program.splitter4(), program.splitter5()};
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

}  // namespace qttest
