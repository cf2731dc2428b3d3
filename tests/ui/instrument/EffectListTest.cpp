#include <QTest>

#include "EffectItemWnds.h"
#include "EffectListBodyWnd.h"
#include "EffectListMainWnd.h"
#include "ImageButton.h"
#include "InPlaceEdit.h"
#include "InstrumentTestSupport.h"
#include "ModuleFiles.h"
#include "SpinWnd.h"
#include "TemporaryFolder.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

class EffectList : public instrumenttest::CInstrumentTest {
protected:
    EffectList()
    {
        panel.resize(368, 529);
        panel.show();
    }
    CEffectListItemWnd* Item(std::size_t position) { return panel.List()->Item(position); }
    void Click(QWidget* window, const char* button) { window->findChild<CImageButton*>(button)->click(); }
    std::vector<int32_t> Types()
    {
        std::vector<int32_t> types;
        for (const TRixEffect& effect : Channel(0).effects)
            types.push_back(effect.type);
        return types;
    }

    CEffectListMainWnd panel{editor, nullptr};
};

TEST_F(EffectList, AddedItemsStackAndTheirBarsStoreZeroTo255)
{
    EXPECT_EQ(panel.List()->ItemCount(), 0u);
    prompts.menuChoice = "Delay";
    Click(&panel, "Add");
    panel.OnAddEffectCommand(CEffectListMainWnd::ADD_OVERDRIVE);
    ASSERT_EQ(Types(), (std::vector<int32_t>{RIXEFFECT_DELAY, RIXEFFECT_OVERDRIVE}));
    EXPECT_EQ(Item(0)->geometry(), QRect(2, 2, 340, 60));
    EXPECT_EQ(Item(1)->geometry(), QRect(2, 64, 340, 84));
    EXPECT_EQ(Item(1)->Labels(), (QStringList{"Limit:", "Vol:"}));
    CVolumeBarWnd* limit = Item(1)->Bar(1);
    for (auto [x, expected] : {std::pair{limit->width() - 1, 255}, std::pair{0, 0}}) {
        QTest::mouseClick(limit, Qt::LeftButton, {}, QPoint(x, 5));
        QCoreApplication::processEvents();
        EXPECT_EQ(Channel(0).effects[1].param1, expected);
    }
    EXPECT_EQ(Channel(0).effects[1].param2, 100);
}

TEST_F(EffectList, DelayLengthFollowsSpinAndTypedText)
{
    panel.OnAddEffectCommand(CEffectListMainWnd::ADD_DELAY);
    auto* delay = static_cast<CDelayEffectItemWnd*>(Item(0));
    delay->SetField(1, 3150);
    for (int i = 0; i < 2; ++i) {
        PostMessageTo(delay, MSG_SPIN_UP, 0, reinterpret_cast<intptr_t>(delay->LengthSpin()));
        QCoreApplication::processEvents();
        EXPECT_EQ(Channel(0).effects[0].param1, 3200);
    }
    for (auto [text, length] : {std::pair{"40", 3200}, {"-1", 0}, {".5", 50}, {"2.", 200}, {"4.257", 425}}) {
        QTest::mouseClick(delay, Qt::LeftButton, {}, QPoint(120, 15));
        ASSERT_TRUE(delay->LengthEdit()->isVisible());
        EXPECT_FALSE(delay->LengthSpin()->isVisible());
        delay->LengthEdit()->setText(text);
        QTest::keyClick(delay->LengthEdit(), Qt::Key_Return);
        EXPECT_EQ(Channel(0).effects[0].param1, length) << text;
    }
    EXPECT_TRUE(delay->LengthSpin()->isVisible());
}

TEST_F(EffectList, HeaderButtonsReorderDuplicateAndRemove)
{
    for (int id : {CEffectListMainWnd::ADD_DELAY, CEffectListMainWnd::ADD_FLANGE, CEffectListMainWnd::ADD_LOWPASS})
        panel.OnAddEffectCommand(id);
    Click(Item(1), "Copy");
    EXPECT_EQ(Types(), (std::vector<int32_t>{0, 1, 1, 2}));
    Click(Item(0), "Up");
    Click(Item(3), "Down");
    EXPECT_EQ(Types(), (std::vector<int32_t>{0, 1, 1, 2}));
    Click(Item(3), "Up");
    Click(Item(0), "Close");
    EXPECT_EQ(Types(), (std::vector<int32_t>{1, 2, 1}));
    EXPECT_EQ(panel.List()->ItemCount(), 3u);
}

TEST_F(EffectList, LoadedBandPassShowsFreqAndWidthWithTwoEnvelopes)
{
    rixtest::CTemporaryFolder folder;
    CRixModuleChannel instrument;
    instrument.effects.push_back(TRixEffect::OfType(RIXEFFECT_BANDPASS));
    SetChannel(3, instrument);
    SaveInstrumentFile(folder / "band.sonrixi", controller.GetSongModule(), 3);
    prompts.path = QString::fromStdString(folder / "band.sonrixi");
    prompts.menuChoice = "Open instrument file...";
    Click(&panel, "Load");
    ASSERT_EQ(Types(), std::vector<int32_t>{RIXEFFECT_BANDPASS});
    EXPECT_EQ(Item(0)->Labels(), (QStringList{"Freq:", "Width:"}));
    prompts.editEnvelope = [](TRixEnvelope& envelope) { envelope.maxValue = 77; };
    Click(Item(0), "Envelope 2");
    EXPECT_EQ(Channel(0).effects[0].envelope2.maxValue, 77);

    rixtest::WriteWholeFile(folder / "broken.sonrixi", "not an instrument");
    prompts.path = QString::fromStdString(folder / "broken.sonrixi");
    Click(&panel, "Load");
    EXPECT_EQ(prompts.errors.join('|').toStdString(),
              ("Failed to load instrument!\n" + prompts.path + ": Unexpected end of stream").toStdString());
    EXPECT_EQ(Types(), std::vector<int32_t>{RIXEFFECT_BANDPASS});
}

} // namespace
} // namespace rix
