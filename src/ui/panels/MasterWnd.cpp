#include "MasterWnd.h"

#include <QPainter>
#include <array>

#include "LabelPainter.h"
#include "LevelClock.h"
#include "MouseGestures.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "SongEditor.h"
#include "Theme.h"
#include "VolumeBarWnd.h"

namespace rix {

namespace {
constexpr int kSmallFont = 0;
// Theme colours by role.
constexpr int kBackgroundBrush = 9, kValueBrush = 24, kBarBrush = 26;
// Samples behind the heard position that the level is taken from.
constexpr uint32_t kLevelSamples = 2048;
constexpr int kMixChannel = -1;

int32_t VolumeOfBar(float value)
{
    return static_cast<int32_t>(value * 255.0f + 0.5f);
}
} // namespace

CMasterWnd::CMasterWnd(CSongEditor& editor, QWidget* parent)
    : CMessageWidget(parent), editor(editor), controller(editor.Controller()),
      bar(new CVolumeBarWnd(QStringLiteral("Master"), kBarBrush, this))
{
    setToolTip(CMouseGestures::Tip(TMouseArea::Master));
    bar->setToolTip(toolTip());
    ShowVolume();
    controller.AddListener(this, POSTS_LEVELS);
}

CMasterWnd::~CMasterWnd()
{
    CLevelClock::Get().Leave(this);
    controller.RemoveListener(this);
}

void CMasterWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_MASTER_VOLUME))
        ShowVolume();
}

void CMasterWnd::ShowVolume()
{
    const int32_t volume = editor.Read([](const CRixModuleData& song) { return song.masterVolume; });
    bar->SetValue(static_cast<float>(volume) / 255.0f);
    update();
}

void CMasterWnd::resizeEvent(QResizeEvent*)
{
    bar->setGeometry(50, 4, width() - 40 - 50, height() - 4);
}

void CMasterWnd::ShowLevel(bool playing)
{
    float level = 0.0f;
    if (playing) {
        std::array<int32_t, kLevelSamples> samples{};
        if (controller.CopyHeardOutput(kMixChannel, samples.data(), kLevelSamples))
            level = static_cast<float>(CPanelMath::Peak(samples.data(), kLevelSamples)) / 32768.0f;
    }
    bar->SetLevel(level);
}

intptr_t CMasterWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    switch (message) {
    case MSG_LEVEL_REFRESH:
        ShowLevel(true);
        CLevelClock::Get().Follow(this, [this] { ShowLevel(true); });
        break;
    case MSG_PLAYBACK_STOPPED:
        CLevelClock::Get().Leave(this);
        ShowLevel(false);
        break;
    case MSG_VOLUME_BAR:
        editor.SetMasterVolume(VolumeOfBar(bar->GetValue()), StepOf(wParam));
        update();
        break;
    default:
        break;
    }
    return 0;
}

void CMasterWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(this);
    painter.fillRect(rect(), theme.Brush(kBackgroundBrush));
    CLabelPainter::Shadowed(painter, 6, 6, QStringLiteral("Master"), theme.Font(kSmallFont));
    CLabelPainter::Text(painter, 325, 6, QString::number(VolumeOfBar(bar->GetValue())), theme.Font(kSmallFont),
                        theme.Brush(kValueBrush));
}

} // namespace rix
