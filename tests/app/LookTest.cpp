#include <memory>

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "AppLook.h"
#include "CommandIds.h"
#include "EnvEditorDlg.h"
#include "RixDoc.h"
#include "RixView.h"
#include "SideWnd.h"
#include "ShellFixture.h"
#include "Zoom.h"

namespace {

using rix::CRixView;

// The main window at its first size on the demo song, and the envelope editor.
class CLookFixture : public CShellFixture {
protected:
    void SetUp() override
    {
        CShellFixture::SetUp();
        QString reason;
        ASSERT_TRUE(frame->Document().OnOpenDocument(QStringLiteral(SONRIX_SOURCE_DIR "/examples/demo.sonrix"), reason));
        frame->resize(930, 700);
        frame->show();
        envelopeEditor = std::make_unique<rix::CEnvEditorDlg>(frame.get(), Editor(),
                                                              rix::TEnvelopeAddress{0, rix::TEnvelopeAddress::CHANNEL, 0, 0});
        envelopeEditor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        envelopeEditor.reset();
        CShellFixture::TearDown();
    }
    // Every window of the view and of the editor that paints itself.
    QList<QWidget*> PaintedWindows() const
    {
        QList<QWidget*> windows;
        for (QWidget* top : {static_cast<QWidget*>(&frame->View()), static_cast<QWidget*>(envelopeEditor.get())})
            for (QWidget* widget : top->findChildren<QWidget*>())
                if (QString::fromLatin1(widget->metaObject()->className()).startsWith("rix::") && widget->isVisible())
                    windows << widget;
        return windows;
    }

    std::unique_ptr<rix::CEnvEditorDlg> envelopeEditor;
};

// The columns run down and the side panel takes the width, where the
// oscillators and the effects show side by side and their items widen.
TEST_F(CLookFixture, ALargerViewGivesTheColumnsTheHeightAndTheSidePanelTheWidth)
{
    const QSize composition = CRixView::kComposition;
    const struct {
        const char* child;
        QRect atComposition;
        QRect atLarger;  // in a view 400 wider and 300 higher
    } cases[] = {
        {"Order table", {0, 0, 165, 560}, {0, 0, 165, 860}},
        {"Pattern", {164, 310, 356, 250}, {164, 310, 356, 550}},
        {"Side", {530, 10, 370, 550}, {530, 10, 770, 850}},
        {"Mixer", {165, 130, 355, 140}, {165, 130, 355, 140}},  // stays at the top
        {"Oscillator 1", {2, 2, 340, 60}, {2, 2, 350, 60}},
    };
    auto* side = frame->View().findChild<rix::CSideWnd*>();
    for (const QSize view : {composition, composition + QSize(400, 300)}) {
        frame->View().resize(view);
        for (const auto& test : cases)
            EXPECT_EQ(frame->View().findChild<QWidget*>(QString::fromLatin1(test.child))->geometry(),
                      view == composition ? test.atComposition : test.atLarger)
                << test.child;
        EXPECT_EQ(side->OscillatorList().isVisible() && side->EffectList().isVisible(), view != composition);
    }
}

// Every window of the main window and of the envelope editor turns dark
// with the Black look and light again with the others.
TEST_F(CLookFixture, BlackLookDarkensEveryWindow)
{
    const QList<QWidget*> windows = PaintedWindows() << static_cast<QWidget*>(frame->menuBar())
                                                     << static_cast<QWidget*>(frame->statusBar()) << envelopeEditor.get();
    for (const int look : {int{rix::ID_VIEW_APPLOOK_OFF_2007_BLACK}, rix::kDefaultApplicationLook}) {
        frame->OnApplicationLook(look);
        QApplication::processEvents();
        for (QWidget* window : windows) {
            // The mean grey, scaled down to one pixel.
            const int lightness = qGray(window->grab().toImage().scaled(1, 1, Qt::IgnoreAspectRatio,
                                                                       Qt::SmoothTransformation).pixel(0, 0));
            const std::string name = window->objectName().toStdString();
            if (look == rix::ID_VIEW_APPLOOK_OFF_2007_BLACK) {
                EXPECT_LT(lightness, 128) << name;
            } else if (name != "Oscbar" && name != "Graph") {
                EXPECT_GT(lightness, 140) << name;  // scopes and graph are dark in every look
            }
        }
    }
}

// At a device pixel ratio of 2 (zoom 200 % or a high-density screen) every
// window draws at the finer pixels: a picture drawn at 1:1 and enlarged
// consists of 2 x 2 blocks of one colour (but for the odd line drawn over
// it), while text, bitmaps and the knobs' edges at 2:1 do not.
TEST_F(CLookFixture, EveryWindowDrawsAtTheDevicePixelRatio)
{
    if (frame->devicePixelRatioF() < 2)
        GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2 (ctest app_zoom_200)";
    Controller().SetChannelEnabled(3, false);  // the oscillator bar's "X"
    QApplication::processEvents();
    for (QWidget* window : PaintedWindows()) {
        // The window alone, where no child covers it: children count apart.
        QImage image(window->size() * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        QRegion own(window->rect());
        for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                own -= child->geometry();
        int64_t blocks = 0, finer = 0;
        for (int y = 0; y + 1 < image.height(); y += 2)
            for (int x = 0; x + 1 < image.width(); x += 2)
                if (own.contains(QPoint(x / 2, y / 2))) {
                    const QRgb corner = image.pixel(x, y);
                    ++blocks;
                    finer += image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                             image.pixel(x + 1, y + 1) != corner;
                }
        EXPECT_GT(1000 * finer / std::max<int64_t>(1, blocks), 10) << window->objectName().toStdString();
    }
}

TEST_F(CShellFixture, ZoomIsKeptInTheSettingsAndScalesTheNextStart)
{
    const struct {
        QVariant stored;
        const char* environment;  // QT_SCALE_FACTOR before the start
        int zoom;
        const char* factor;       // QT_SCALE_FACTOR for the QApplication
    } cases[] = {
        {QVariant(), nullptr, 100, nullptr},
        {150, "2", 150, "3"},
        {130, nullptr, 100, nullptr},  // not one of the choices
    };
    for (const auto& test : cases) {
        QSettings().setValue(QStringLiteral("Zoom"), test.stored);
        test.environment ? qputenv("QT_SCALE_FACTOR", test.environment) : qunsetenv("QT_SCALE_FACTOR");
        const QByteArray original = rix::CZoom::ApplyAtStart();
        EXPECT_EQ(rix::CZoom::Running(), test.zoom);
        EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(test.factor)) << test.zoom;
        // Programs the editor starts get the environment's own factor.
        rix::CZoom::RestoreEnvironment(original);
        EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(test.environment));
    }
    qunsetenv("QT_SCALE_FACTOR");
}

} // namespace
