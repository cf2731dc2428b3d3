// The main of every editor test program: a QApplication on the offscreen
// platform (unless QT_QPA_PLATFORM says otherwise, e.g. xcb under xvfb-run),
// the dummy audio driver (no sound card on the build machines) and the
// theme, which every widget draws with.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "Theme.h"

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("SONRIX_AUDIO_DRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    rix::CTheme::Create();
    const int result = RUN_ALL_TESTS();
    rix::CTheme::Destroy();
    return result;
}
