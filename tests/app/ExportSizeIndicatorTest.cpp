#include <gtest/gtest.h>

#include <QStatusBar>

#include "ControllerFixture.h"
#include "ExportSizeIndicator.h"

namespace rix {
namespace {

using ExportSizeIndicatorTest = CControllerFixture;

TEST_F(ExportSizeIndicatorTest, FollowsEditsOfTheSong)
{
    QStatusBar statusBar;
    CExportSizeIndicator indicator(Controller(), &statusBar);
    const QString empty = indicator.Text();
    EXPECT_TRUE(empty.startsWith(QStringLiteral("Intro data: "))) << empty.toStdString();
    EditSong([](CRixModuleData& data) {
        data.orderTable[0][0] = 1;
        for (uint32_t row = 0; row < 16; ++row)
            data.patterns[0][1][row] = 40 + row;
    });
    indicator.Update();
    EXPECT_NE(indicator.Text(), empty);
}

} // namespace
} // namespace rix
