#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "AppLook.h"
#include "CommandIds.h"
#include "EnvEditorDlg.h"
#include "RixDoc.h"
#include "RixView.h"
#include "ShellFixture.h"
#include "Zoom.h"

namespace {

using rix::CRixView;

// The windows of the view that paint themselves, on the demo song.
QList<QWidget*> PaintedWindows(QWidget& view)
{
    QList<QWidget*> windows;
    for (QWidget* widget : view.findChildren<QWidget*>())
        if (QString::fromLatin1(widget->metaObject()->className()).startsWith("rix::") && widget->isVisible())
            windows << widget;
    return windows;
}

class CLookFixture : public CShellFixture {
protected:
    void SetUp() override
    {
        CShellFixture::SetUp();
        QString reason;
        ASSERT_TRUE(frame->Document().OnOpenDocument(QStringLiteral(SONRIX_SOURCE_DIR "/examples/demo.sonrix"), reason));
        frame->resize(1200, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
};

TEST_F(CLookFixture, ALargerWindowCentresTheViewAndLetsTheColumnsRunDown)
{
    const QSize composition = CRixView::kComposition;
    const struct {
        const CRixView::TPlace& place;
        QRect atComposition;
        QRect atLarger;  // a view 200 wider and 300 higher
    } cases[] = {
        {CRixView::kOrderTable, {0, 0, 165, 560}, {100, 0, 165, 860}},
        {CRixView::kPattern, {164, 310, 356, 250}, {264, 310, 356, 550}},
        {CRixView::kSide, {530, 10, 370, 550}, {630, 10, 370, 850}},
        {CRixView::kMixer, {165, 130, 355, 140}, {265, 130, 355, 140}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CRixView::PlaceIn(test.place, composition), test.atComposition) << test.place.text;
        EXPECT_EQ(CRixView::PlaceIn(test.place, composition + QSize(200, 300)), test.atLarger) << test.place.text;
    }
    // The view lays its children out so, whatever size the window takes.
    const QSize view = frame->View().size();
    ASSERT_GT(view.width(), composition.width());
    for (const auto& test : cases)
        EXPECT_EQ(frame->View().findChild<QWidget*>(QString::fromUtf8(test.place.text))->geometry(),
                  CRixView::PlaceIn(test.place, view))
            << test.place.text;
}

int Lightness(const QImage& image)
{
    int64_t sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return static_cast<int>(sum / std::max<int64_t>(1, int64_t(image.width()) * image.height()));
}

// Every window of the main window and of the envelope editor turns dark
// with the Black look and light again with the others.
TEST_F(CLookFixture, BlackLookDarkensEveryWindow)
{
    rix::TRixEnvelope envelope = rix::TRixEnvelope::Default();
    rix::CEnvEditorDlg envelopeEditor(frame.get(), Controller(), &envelope, 0);
    envelopeEditor.show();
    QList<QWidget*> windows = PaintedWindows(frame->View());
    windows << static_cast<QWidget*>(frame->menuBar()) << static_cast<QWidget*>(frame->statusBar())
            << static_cast<QWidget*>(&envelopeEditor);
    for (const int look : {int{rix::ID_VIEW_APPLOOK_OFF_2007_BLACK}, rix::kDefaultApplicationLook}) {
        const bool dark = look == rix::ID_VIEW_APPLOOK_OFF_2007_BLACK;
        frame->OnApplicationLook(look);
        QApplication::processEvents();
        for (QWidget* window : windows) {
            const int lightness = Lightness(window->grab().toImage());
            const QString name = QString::fromLatin1(window->metaObject()->className()) + QLatin1Char(' ') +
                                 window->objectName();
            if (dark) {
                EXPECT_LT(lightness, 128) << name.toStdString();
            } else if (!window->objectName().startsWith(QStringLiteral("Oscbar"))) {
                EXPECT_GT(lightness, 140) << name.toStdString();  // the scopes are black in every look
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
    rix::TRixEnvelope envelope = rix::TRixEnvelope::Default();
    rix::CEnvEditorDlg envelopeEditor(frame.get(), Controller(), &envelope, 0);
    envelopeEditor.show();
    QApplication::processEvents();
    QList<QWidget*> windows = PaintedWindows(frame->View()) << PaintedWindows(envelopeEditor);
    for (QWidget* window : windows) {
        // The window alone: its children are tested on their own.
        QImage image(window->size() * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        // The share (in 1/1000) of 2 x 2 blocks with more than one colour,
        // where no child covers the window.
        QRegion own(window->rect());
        for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                own -= child->geometry();
        int64_t blocks = 0, finer = 0;
        for (int y = 0; y + 1 < image.height(); y += 2)
            for (int x = 0; x + 1 < image.width(); x += 2) {
                if (!own.contains(QPoint(x / 2, y / 2)))
                    continue;
                const QRgb corner = image.pixel(x, y);
                ++blocks;
                finer += image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                         image.pixel(x + 1, y + 1) != corner;
            }
        EXPECT_GT(1000 * finer / std::max<int64_t>(1, blocks), 10)
            << window->metaObject()->className() << " " << window->objectName().toStdString();
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
        {200, nullptr, 200, "2"},
        {150, "2", 150, "3"},
        {130, nullptr, 100, nullptr},  // not one of the choices
    };
    for (const auto& test : cases) {
        QSettings().setValue(QStringLiteral("Zoom"), test.stored);
        if (test.environment)
            qputenv("QT_SCALE_FACTOR", test.environment);
        else
            qunsetenv("QT_SCALE_FACTOR");
        const QByteArray original = rix::CZoom::ApplyAtStart();
        EXPECT_EQ(rix::CZoom::Running(), test.zoom);
        EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(test.factor)) << test.zoom;
        rix::CZoom::RestoreEnvironment(original);
        EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), QByteArray(test.environment));
        RestartFrame();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(frame->Action(rix::ID_VIEW_ZOOM_FIRST + i)->isChecked(), rix::CZoom::Choices()[i] == test.zoom);
    }
    qunsetenv("QT_SCALE_FACTOR");
}

} // namespace
