// Runs the host tests inside a QApplication on the offscreen platform. --scale=F runs them at device
// pixel ratio F (QT_SCALE_FACTOR), which has to be set before the application starts.
#include <QApplication>
#include <cstring>
#include <gtest/gtest.h>

#include "app/program.h"
#include "qt/qt_host.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--scale=", 8) == 0)
            qputenv("QT_SCALE_FACTOR", argv[i] + 8);
    QApplication application(argc, argv);
    qthost::setUpApplication(app::kIdentity);
    return RUN_ALL_TESTS();
}
