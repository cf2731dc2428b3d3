// Takes the screenshots of the editor's shared pieces for the documentation
// and for review: the envelope editor on channel 1's envelope, every bitmap
// of the theme enlarged on one strip, and the small controls. Run on a real X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" sonrix_screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <cstdio>
#include <memory>

#include "EnvEditorDlg.h"
#include "ImageButton.h"
#include "SpinWnd.h"
#include "VolumeBarWnd.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "RixModuleData.h"
#include "Theme.h"
#include "ToolSession.h"

namespace {

// Every bitmap at three times its size, in id order, on rows 1200 pixels wide.
QImage BitmapStrip()
{
    constexpr int SCALE = 3;
    constexpr int GAP = 8;
    constexpr int ROW_WIDTH = 1200;
    QImage strip(ROW_WIDTH, 4 * (32 * SCALE + GAP) + GAP, QImage::Format_RGB32);
    strip.fill(QColor(0xE8, 0xE8, 0xE8));
    QPainter painter(&strip);
    int x = GAP;
    int y = GAP;
    for (int id : rix::CTheme::BitmapIds()) {
        const QImage& image = rix::CTheme::Get().Bitmap(id);
        const QSize size = image.size() * SCALE;
        if (x + size.width() > ROW_WIDTH) {
            x = GAP;
            y += 32 * SCALE + GAP;
        }
        painter.drawImage(QRect(QPoint(x, y), size), image);
        x += size.width() + GAP;
    }
    return strip.copy(0, 0, ROW_WIDTH, y + 32 * SCALE + GAP);
}

// The controls as a panel shows them: image buttons (one held down), a spin
// button and volume bars at several values and levels, the last clipping.
QImage Controls()
{
    QWidget panel;
    panel.setAutoFillBackground(true);
    panel.setPalette(QPalette(rix::CTheme::Get().Brush(9)));
    panel.resize(300, 150);
    const int pairs[][2] = {{330, 331}, {334, 335}, {332, 333}, {312, 313}};
    for (int index = 0; index < 4; ++index) {
        auto* button = new rix::CImageButton(QString::number(index), pairs[index][0], pairs[index][1], &panel);
        button->setGeometry(10 + 40 * index, 10, 32, 32);
        button->setDown(index == 1);
    }
    (new rix::CSpinWnd(&panel))->move(180, 16);
    const float values[][2] = {{0.5f, 0.0f}, {0.8f, 0.6f}, {0.2f, 1.0f}};
    for (int index = 0; index < 3; ++index) {
        auto* bar = new rix::CVolumeBarWnd(QStringLiteral("Volume"), 26, &panel);
        bar->setGeometry(10, 55 + 30 * index, 280, 22);
        bar->SetValue(values[index][0]);
        bar->SetLevel(values[index][1]);
    }
    return panel.grab().toImage();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sonrix_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const CToolSession session;
    bool saved = BitmapStrip().save(folder.filePath(QStringLiteral("bitmaps.png")));
    saved = Controls().save(folder.filePath(QStringLiteral("controls.png"))) && saved;
    {
        auto controller = std::make_unique<rix::CPlaybackController>();
        rix::CSongEditor editor(*controller);
        rix::CEnvEditorDlg dialog(nullptr, editor, {0, rix::TEnvelopeAddress::CHANNEL, 0, 0});
        dialog.show();
        saved = QTest::qWaitForWindowExposed(&dialog) && saved;
        QTest::qWait(200);
        saved = dialog.grab().save(folder.filePath(QStringLiteral("envelope-editor.png"))) && saved;
    }
    return saved ? 0 : 1;
}
