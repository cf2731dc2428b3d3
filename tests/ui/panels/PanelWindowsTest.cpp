#include <gtest/gtest.h>

#include <chrono>

#include <QTest>

#include "ControllerFixture.h"
#include "MasterWnd.h"
#include "MixerWnd.h"
#include "OscBarWnd.h"
#include "SideWnd.h"
#include "TimeCounterWnd.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

using PanelWindowsTest = CControllerFixture;

TEST_F(PanelWindowsTest, TimeCounterFollowsPositionMessagesAtTheSongsTempo)
{
    CTimeCounterWnd counter(Controller(), nullptr);
    EditSong([](CRixModuleData& data) { data.bpm = 125; });
    SendMessageTo(&counter, MSG_PLAYING_POSITION, 16, 0);
    EXPECT_EQ(counter.GetTime(), 192);
}

TEST_F(PanelWindowsTest, MixerPressSetsTheChannelVolumeAndDragsIt)
{
    CMixerWnd mixer(Editor(), nullptr);
    mixer.resize(355, 140);
    auto volume = [this](int c) { return ReadSong<int32_t>([c](const CRixModuleData& d) { return d.channels[c].volume; }); };
    QTest::mouseClick(&mixer, Qt::LeftButton, {}, QPoint(24 + 40 * 2 + 20, 75));
    EXPECT_EQ(volume(2), 128);
    QTest::mouseClick(&mixer, Qt::LeftButton, {}, QPoint(24 + 40 * 2 + 20, 129));
    EXPECT_EQ(volume(2), 0);
    QTest::mouseClick(&mixer, Qt::LeftButton, {}, QPoint(24 + 40 * 3 + 20, 130));
    EXPECT_EQ(volume(3), 100) << "a press further below the track is ignored";

    QTest::mousePress(&mixer, Qt::LeftButton, {}, QPoint(24 + 40 * 4 + 5, 100));
    QTest::mouseMove(&mixer, QPoint(5, 25));
    QTest::mouseRelease(&mixer, Qt::LeftButton, {}, QPoint(5, 25));
    EXPECT_EQ(volume(4), 255) << "a drag keeps its channel whatever x is";
    EXPECT_EQ(volume(0), 100);
    EXPECT_EQ(mixer.GetDraggedChannel(), -1);
}

// The meters show what is heard: while the song plays, a muted channel's
// level stays empty beside a sounding one.
TEST_F(PanelWindowsTest, AMutedChannelsMeterShowsSilence)
{
    CMixerWnd mixer(Editor(), nullptr);
    mixer.resize(355, 140);
    EditSong([](CRixModuleData& data) {
        for (int c : {0, 1}) {
            data.channels[c].AddOscillator();
            data.orderTable[c][0] = 1;
            data.patterns[c][1][0] = 49;
        }
    });
    Controller().SetChannelEnabled(1, false);
    Controller().PlayPatternLoop();
    const auto levelPixels = [&](int channel) {
        const QImage shown = mixer.grab().toImage();
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 24 + 40 * channel; x < 24 + 40 * (channel + 1); ++x)
                count += shown.pixel(x, y) == 0xFF00FF00 ? 1 : 0;
        return count;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (levelPixels(0) == 0 && std::chrono::steady_clock::now() < deadline)
        QTest::qWait(20);
    EXPECT_GT(levelPixels(0), 0);
    EXPECT_EQ(levelPixels(1), 0);
    Controller().Stop();
}

TEST_F(PanelWindowsTest, OscillatorBarMutesAndSolos)
{
    COscBarWnd bar(Controller(), nullptr);
    bar.resize(355, 35);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(24 + 40 * 1 + 10, 10));
    EXPECT_FALSE(Controller().IsChannelEnabled(1));
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(24 + 40 * 1 + 10, 10));
    EXPECT_TRUE(Controller().IsChannelEnabled(1));

    QTest::mouseClick(&bar, Qt::RightButton, {}, QPoint(24 + 40 * 6 + 10, 10));
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(Controller().IsChannelEnabled(c), c == 6) << c;
    QTest::mouseClick(&bar, Qt::RightButton, {}, QPoint(24 + 40 * 6 + 10, 10));
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(Controller().IsChannelEnabled(c)) << c;
}

TEST_F(PanelWindowsTest, MasterBarStoresTheMasterVolume)
{
    CMasterWnd master(Editor(), nullptr);
    master.resize(355, 30);
    QTest::mouseClick(&master.Bar(), Qt::LeftButton, {}, QPoint(2, 10));
    QCoreApplication::sendPostedEvents(&master);
    EXPECT_EQ(ReadSong<int32_t>([](const CRixModuleData& d) { return d.masterVolume; }), 0);
    QTest::mouseClick(&master.Bar(), Qt::LeftButton, {}, QPoint(master.Bar().width() - 1, 10));
    QCoreApplication::sendPostedEvents(&master);
    EXPECT_EQ(ReadSong<int32_t>([](const CRixModuleData& d) { return d.masterVolume; }), 255);
}

TEST_F(PanelWindowsTest, SidePanelTabsShowOneListAtATime)
{
    CSideWnd side(Editor(), nullptr);
    side.resize(370, 550);
    side.show();
    const struct { int x; CSideWnd::TTab tab; } clicks[] = {
        {150, CSideWnd::TAB_EFFECTS}, {100, CSideWnd::TAB_EFFECTS}, {50, CSideWnd::TAB_OSCILLATORS},
        {250, CSideWnd::TAB_OSCILLATORS}};
    for (const auto& click : clicks) {
        QTest::mouseClick(&side, Qt::LeftButton, {}, QPoint(click.x, 10));
        EXPECT_EQ(side.GetSelectedTab(), click.tab) << click.x;
        EXPECT_EQ(side.EffectList().isVisible(), click.tab == CSideWnd::TAB_EFFECTS) << click.x;
        EXPECT_EQ(side.OscillatorList().isVisible(), click.tab == CSideWnd::TAB_OSCILLATORS) << click.x;
    }
}

} // namespace
} // namespace rix
