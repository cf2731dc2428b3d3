#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <memory>

#include "ControllerFixture.h"
#include "EnvEditorDlg.h"
#include "EnvelopeMath.h"

namespace rix {
namespace {

// The dialog on channel 2's envelope at 120 BPM, as the view opens it.
class EnvEditorDlg : public CControllerFixture {
protected:
    void SetUp() override
    {
        CControllerFixture::SetUp();
        EditSong([](CRixModuleData& song) {
            song.bpm = 120;
            song.channels[2].envelope = TRixEnvelope::Default();
        });
    }
    void TearDown() override
    {
        dialog.reset();
        CControllerFixture::TearDown();
    }

    CEnvEditorDlg& Open()
    {
        dialog = std::make_unique<CEnvEditorDlg>(nullptr, Editor(), TEnvelopeAddress{2, TEnvelopeAddress::CHANNEL, 0, 0});
        return *dialog;
    }
    template <class TWidget> TWidget* Child(const char* name) const
    {
        auto* widget = dialog->findChild<TWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Type(const char* edit, const char* text) { Child<QLineEdit>(edit)->setText(QString::fromLatin1(text)); }
    TRixEnvelope Envelope() { return ReadSong<TRixEnvelope>([](const CRixModuleData& s) { return s.channels[2].envelope; }); }

    std::unique_ptr<CEnvEditorDlg> dialog;
};

TEST_F(EnvEditorDlg, OpensOnTheDefaultEnvelopeWithoutChangingTheSong)
{
    const uint32_t before = ChangeCount();
    Open();
    EXPECT_EQ(Child<QLineEdit>("Rows per cycle")->text(), "8.05");
    EXPECT_EQ(Child<QLabel>("Speed")->text(), "speed: 65, freq: 0.99 Hz");
    EXPECT_EQ(Child<QSlider>("Rows per cycle trackbar")->value(), 17);
    EXPECT_EQ(Child<QLineEdit>("Phase")->text(), "8");
    EXPECT_EQ(Child<QComboBox>("Reset mode")->currentText(), "Note");
    EXPECT_FALSE(Child<QLineEdit>("Sustain")->isEnabled());
    Child<QPushButton>("Close")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ChangeCount(), before);
    EXPECT_EQ(Envelope(), TRixEnvelope::Default());
}

TEST_F(EnvEditorDlg, RowsPerCycleEditStoresTheSpeedAndMovesTheTrackbar)
{
    struct TCase { const char* text; int32_t speed; int position; };
    const int32_t fastest = CEnvelopeMath::SpeedFor(5512, 0.01f);
    // The trackbar shows the table entry at or just below the value.
    const TCase cases[] = {
        {"8", 65, 16}, {"0", fastest, 0}, {"junk", fastest, 0}, {"-3", fastest, 0},
        {"0.03", CEnvelopeMath::SpeedFor(5512, 0.03f), 1}, {"1e30", 1, 29}, {" 16.5", 31, 19},
    };
    Open();
    for (const TCase& c : cases) {
        Type("Rows per cycle", c.text);
        EXPECT_EQ(Envelope().speed, c.speed) << c.text;
        EXPECT_EQ(Child<QSlider>("Rows per cycle trackbar")->value(), c.position) << c.text;
        EXPECT_EQ(Child<QLineEdit>("Rows per cycle")->text(), c.text);
    }
}

TEST_F(EnvEditorDlg, MinAndMaxAreOrderedAndNeverEqual)
{
    struct TCase { const char* min; const char* max; int32_t minValue; int32_t maxValue; };
    const TCase cases[] = {{"300", "100", 100, 300}, {"50", "50", 50, 51}, {"-20", "x", -20, 0}};
    Open();
    for (const TCase& c : cases) {
        Type("Min", c.min);
        Type("Max", c.max);
        EXPECT_EQ(Envelope().minValue, c.minValue) << c.min << " " << c.max;
        EXPECT_EQ(Envelope().maxValue, c.maxValue) << c.min << " " << c.max;
        EXPECT_EQ(Child<QLineEdit>("Min")->text(), c.min);
    }
}

TEST_F(EnvEditorDlg, TrackbarsEditsChecksAndListWriteTheEnvelope)
{
    Open();
    Child<QSlider>("Rows per cycle trackbar")->setValue(19);
    EXPECT_EQ(Envelope().speed, CEnvelopeMath::SpeedFor(5512, 16.0f));
    EXPECT_EQ(Child<QLineEdit>("Rows per cycle")->text(), "16.35");
    Child<QSlider>("Keep trackbar")->setValue(5);
    EXPECT_EQ(Envelope().keep, 5 * 2048);
    EXPECT_EQ(Child<QLineEdit>("Keep")->text(), "5");
    // Typed values beyond the trackbar's range are kept; the trackbar stops at its end.
    Type("Phase", "40");
    EXPECT_EQ(Envelope().phase, 40 * 2048);
    EXPECT_EQ(Child<QSlider>("Phase trackbar")->value(), 32);

    Child<QCheckBox>("Keep Enabled")->click();
    EXPECT_FALSE(Envelope().keepEnabled);
    EXPECT_FALSE(Child<QLineEdit>("Keep")->isEnabled());
    EXPECT_FALSE(Child<QSlider>("Keep trackbar")->isEnabled());

    auto* list = Child<QComboBox>("Reset mode");
    for (const auto& [item, mode] : {std::pair{"Four patterns", 4}, {"Note", 3}, {"Song", 0}}) {
        list->setCurrentIndex(list->findText(QString::fromLatin1(item)));
        EXPECT_EQ(Envelope().resetMode, mode) << item;
    }
}

TEST_F(EnvEditorDlg, ResetAsksFirst)
{
    Open();
    Type("Max", "999");
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->windowTitle() + ": " + box->text();
            box->button(answer)->click();
        });
        Child<QPushButton>("Reset")->click();
        EXPECT_EQ(question, "SONRIX3: Do you want to reset this envelope?");
    }
    EXPECT_EQ(Envelope(), CEnvEditorDlg::ResetEnvelope());
    EXPECT_EQ(Child<QLineEdit>("Max")->text(), "256");
    EXPECT_EQ(Child<QLineEdit>("Rows per cycle")->text(), "0.08");
    EXPECT_EQ(Child<QSlider>("Rows per cycle trackbar")->value(), 2);
}

} // namespace
} // namespace rix
