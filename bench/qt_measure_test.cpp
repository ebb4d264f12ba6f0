// The measuring machinery itself: a first frame is reported once, after the paint, and only when enough
// windows have painted; waiting for a paint succeeds exactly when one is due; resize runs never repeat a
// dimension between neighbours (a size that did not change would paint nothing); statistics pick the
// right samples.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

#include "qt_measure.h"

namespace {

bench::MeasuringApplication* application = nullptr;

class Painted : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

TEST(FirstFrames, ReportedOnceAfterEveryWindowHasPainted)
{
    Painted first, second;
    int reports = 0, paintsAtReport = 0;
    application->onFirstFrames(2, [&] {
        ++reports;
        paintsAtReport = first.paints + second.paints;
    });
    first.resize(100, 80);
    first.show();
    EXPECT_TRUE(application->processUntilPainted(&first, 500));
    EXPECT_EQ(reports, 0);  // one window of two
    second.resize(100, 80);
    second.show();
    EXPECT_TRUE(application->processUntilPainted(&second, 500));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(paintsAtReport, 2);
    first.update();
    application->processUntilPainted(&first);
    EXPECT_EQ(reports, 1);
}

TEST(ProcessUntilPainted, WaitsForADueRepaintAndGivesUpWhenNoneIsDue)
{
    QWidget window;
    auto* child = new Painted;
    child->setParent(&window);
    child->setGeometry(10, 10, 50, 50);
    window.resize(100, 100);
    window.show();
    ASSERT_TRUE(application->processUntilPainted(&window, 500));
    EXPECT_FALSE(application->processUntilPainted(child, 5));

    application->watchRegion(child);
    application->takePaintedRegion();
    child->update(QRect(5, 5, 10, 10));
    const int before = child->paints;
    EXPECT_TRUE(application->processUntilPainted(child));
    EXPECT_EQ(child->paints, before + 1);
    EXPECT_EQ(application->takePaintedRegion(), QRegion(5, 5, 10, 10));
    // A repaint of the child counts as a paint of the window it lies in.
    child->update();
    EXPECT_TRUE(application->processUntilPainted(&window));
    application->watchRegion(nullptr);
}

TEST(ResizeSizes, NeighboursDifferInBothDimensionsAndStayNearTheCentre)
{
    const auto sizes = bench::resizeSizes(594, 558, 5000);
    ASSERT_EQ(sizes.size(), 5000u);
    EXPECT_NE(sizes.front(), std::make_pair(594, 558));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_LE(std::abs(sizes[i].first - 594), 30) << i;
        EXPECT_LE(std::abs(sizes[i].second - 558), 30) << i;
        if (i > 0) {
            EXPECT_NE(sizes[i].first, sizes[i - 1].first) << i;
            EXPECT_NE(sizes[i].second, sizes[i - 1].second) << i;
        }
    }
}

TEST(Summary, MedianAndTenthAndNinetiethPercentilesOfUnsortedSamples)
{
    std::vector<double> samples;
    for (int i = 100; i >= 0; --i)
        samples.push_back(i * 2.0);
    const bench::Summary s = bench::summarize(samples);
    EXPECT_EQ(s.count, 101u);
    EXPECT_EQ(s.median, 100.0);
    EXPECT_EQ(s.p10, 20.0);
    EXPECT_EQ(s.p90, 180.0);
    EXPECT_EQ(bench::summarize({7.0}).median, 7.0);
    EXPECT_EQ(bench::summarize({}).count, 0u);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");  // test discovery runs this without the test's environment
    bench::MeasuringApplication app(argc, argv);
    application = &app;
    return RUN_ALL_TESTS();
}
