#include <QTest>

#include "EffectItemWnds.h"
#include "EffectListBodyWnd.h"
#include "EffectListMainWnd.h"
#include "ImageButton.h"
#include "InPlaceEdit.h"
#include "InstrumentFile.h"
#include "InstrumentTestSupport.h"
#include "SpinWnd.h"
#include "TemporaryFolder.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

using instrumenttest::CInstrumentTest;

class EffectList : public CInstrumentTest {
protected:
    EffectList()
    {
        panel = std::make_unique<CEffectListMainWnd>(controller, nullptr);
        panel->resize(368, 529);
        panel->show();
    }
    CEffectListItemWnd* Item(std::size_t position) { return panel->List()->Item(position); }
    std::vector<int32_t> Types()
    {
        std::vector<int32_t> types;
        for (const TRixEffect& effect : Channel(0).effects)
            types.push_back(effect.type);
        return types;
    }

    std::unique_ptr<CEffectListMainWnd> panel;
};

TEST_F(EffectList, AddedItemsStackWithTwoPixelGaps)
{
    EXPECT_TRUE(panel->List()->Items().empty());
    prompts.menuChoice = "Delay";
    panel->findChild<CImageButton*>("Add")->click();
    panel->OnAddEffectCommand(CEffectListMainWnd::ADD_RESONANCE);
    ASSERT_EQ(Types(), (std::vector<int32_t>{RIXEFFECT_DELAY, RIXEFFECT_RESONANCE}));
    EXPECT_EQ(Item(0)->geometry(), QRect(2, 2, 340, 60));
    EXPECT_EQ(Item(1)->geometry(), QRect(2, 64, 340, 84));
    EXPECT_EQ(Item(1)->Labels(), (QStringList{"Cutoff:", "Amount:"}));
}

TEST_F(EffectList, DelayLengthFollowsSpinAndTypedText)
{
    panel->OnAddEffectCommand(CEffectListMainWnd::ADD_DELAY);
    auto* delay = static_cast<CDelayEffectItemWnd*>(Item(0));
    delay->SetField(1, 3150);
    for (int i = 0; i < 2; ++i) {
        PostMessageTo(delay, MSG_SPIN_UP, 0, reinterpret_cast<intptr_t>(delay->LengthSpin()));
        QCoreApplication::processEvents();
        EXPECT_EQ(Channel(0).effects[0].param1, 3200);
    }
    const struct {
        const char* text;
        int32_t length;
    } typed[] = {{"40", 3200}, {"-1", 0}, {".5", 50}, {"2.", 200}, {"4.257", 425}};
    for (const auto& t : typed) {
        QTest::mouseClick(delay, Qt::LeftButton, {}, QPoint(120, 15));
        ASSERT_TRUE(delay->LengthEdit()->isVisible());
        EXPECT_FALSE(delay->LengthSpin()->isVisible());
        delay->LengthEdit()->setText(t.text);
        QTest::keyClick(delay->LengthEdit(), Qt::Key_Return);
        EXPECT_EQ(Channel(0).effects[0].param1, t.length) << t.text;
    }
    EXPECT_TRUE(delay->LengthSpin()->isVisible());
}

TEST_F(EffectList, BarsStoreZeroTo255)
{
    panel->OnAddEffectCommand(CEffectListMainWnd::ADD_OVERDRIVE);
    CVolumeBarWnd* limit = Item(0)->Bar(1);
    QTest::mouseClick(limit, Qt::LeftButton, {}, QPoint(limit->width() - 1, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(Channel(0).effects[0].param1, 255);
    QTest::mouseClick(limit, Qt::LeftButton, {}, QPoint(0, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(Channel(0).effects[0].param1, 0);
    EXPECT_EQ(Channel(0).effects[0].param2, 100);
}

TEST_F(EffectList, HeaderButtonsReorderDuplicateAndRemove)
{
    for (int id : {CEffectListMainWnd::ADD_DELAY, CEffectListMainWnd::ADD_FLANGE, CEffectListMainWnd::ADD_LOWPASS})
        panel->OnAddEffectCommand(id);
    Item(1)->findChild<CImageButton*>("Copy")->click();
    EXPECT_EQ(Types(), (std::vector<int32_t>{0, 1, 1, 2}));
    Item(0)->findChild<CImageButton*>("Up")->click();
    Item(3)->findChild<CImageButton*>("Down")->click();
    EXPECT_EQ(Types(), (std::vector<int32_t>{0, 1, 1, 2}));
    Item(3)->findChild<CImageButton*>("Up")->click();
    Item(0)->findChild<CImageButton*>("Close")->click();
    EXPECT_EQ(Types(), (std::vector<int32_t>{1, 2, 1}));
    EXPECT_EQ(panel->List()->Items().size(), 3u);
    panel->findChild<CImageButton*>("New")->click();
    EXPECT_EQ(Types().size(), 3u);
}

TEST_F(EffectList, LoadedBandPassShowsFreqAndWidthWithTwoEnvelopes)
{
    rixtest::CTemporaryFolder folder;
    CRixModuleChannel instrument;
    instrument.effects.push_back(TRixEffect::OfType(RIXEFFECT_BANDPASS));
    SetChannel(3, instrument);
    CInstrumentFile::Save(folder / "band.sonrixi", controller.GetSongModule(), 3);
    prompts.path = QString::fromStdString(folder / "band.sonrixi");
    prompts.menuChoice = "Open instrument file...";
    panel->findChild<CImageButton*>("Load")->click();
    ASSERT_EQ(Types(), std::vector<int32_t>{RIXEFFECT_BANDPASS});
    EXPECT_EQ(Item(0)->Labels(), (QStringList{"Freq:", "Width:"}));
    prompts.editEnvelope = [](TRixEnvelope& envelope) { envelope.maxValue = 77; };
    Item(0)->findChild<CImageButton*>("Envelope 2")->click();
    EXPECT_EQ(Channel(0).effects[0].envelope2.maxValue, 77);

    rixtest::WriteWholeFile(folder / "broken.sonrixi", "not an instrument");
    prompts.path = QString::fromStdString(folder / "broken.sonrixi");
    panel->findChild<CImageButton*>("Load")->click();
    EXPECT_EQ(prompts.errors, QStringList{"Failed to load instrument!"});
    EXPECT_EQ(Types(), std::vector<int32_t>{RIXEFFECT_BANDPASS});
}

} // namespace
} // namespace rix
