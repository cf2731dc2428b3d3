#include "MixerWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "LabelPainter.h"
#include "MouseGestures.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "SongEditor.h"
#include "Theme.h"

namespace rix {

namespace {
constexpr int kSmallFont = 0;
// Theme colours by role.
constexpr int kBackgroundBrush = 9, kTrackBrush = 21, kVolumeBrush = 23, kLevelBrush = 16, kKnobBrush = 22,
              kValueBrush = 24;
constexpr int kScalePen = 11, kKnobPen = 9, kVolumePen = 10;
constexpr uint32_t kLevelSamples = 2048;
constexpr int kTrackLeft = 15;
constexpr int kTrackTop = 20;
constexpr int kTrackBottom = 130;
constexpr int kTrackWidth = 10;
constexpr int kFirstStripX = 24;
} // namespace

CMixerWnd::CMixerWnd(CSongEditor& editor, QWidget* parent)
    : CMessageWidget(parent), editor(editor), controller(editor.Controller())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(CMouseGestures::Tip(TMouseArea::Mixer));
    MakeStrips(1);
    controller.AddListener(this, POSTS_LEVELS);
}

CMixerWnd::~CMixerWnd()
{
    controller.RemoveListener(this);
}

void CMixerWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_CHANNEL_VOLUME))
        RedrawStrips(playing);
}

void CMixerWnd::RedrawStrips(bool nowPlaying)
{
    playing = nowPlaying;
    const auto volumes = editor.Read([](const CRixModuleData& song) {
        std::array<int32_t, 8> read{};
        for (int32_t c = 0; c < 8; ++c)
            read[static_cast<std::size_t>(c)] = song.channels[c].volume;
        return read;
    });
    std::array<int32_t, kLevelSamples> samples{};
    for (int32_t c = 0; c < 8; ++c) {
        const auto index = static_cast<std::size_t>(c);
        int32_t level = 0;
        if (playing && controller.CopyHeardOutput(c, samples.data(), kLevelSamples))
            level = CPanelMath::LevelHeight(CPanelMath::Peak(samples.data(), kLevelSamples));
        if (volumes[index] == shownVolume[index] && level == shownLevel[index])
            continue;
        shownVolume[index] = volumes[index];
        shownLevel[index] = level;
        DrawStrip(c, volumes[index], level);
        update(kFirstStripX + STRIP_WIDTH * c, 0, STRIP_WIDTH, STRIP_HEIGHT);
    }
}

void CMixerWnd::MakeStrips(qreal ratio)
{
    for (QImage& strip : strips)
        strip = MakeOffscreen(QSize(STRIP_WIDTH, STRIP_HEIGHT), ratio);
    shownVolume.fill(-1);
    shownLevel.fill(-1);
    RedrawStrips(playing);
}

void CMixerWnd::DrawStrip(int32_t channel, int32_t volume, int32_t level)
{
    const CTheme& theme = CTheme::Get();
    QImage& strip = strips[static_cast<std::size_t>(channel)];
    QPainter painter(&strip);
    painter.fillRect(QRect(0, 0, STRIP_WIDTH, STRIP_HEIGHT), theme.Brush(kBackgroundBrush));
    painter.setPen(theme.Pen(kScalePen));
    for (int y = 25; y <= 125; y += 25)
        painter.drawLine(11, y, 29, y);

    const int h = CPanelMath::VolumeHeight(volume);
    const int volumeTop = 125 - h;
    painter.fillRect(QRect(kTrackLeft, kTrackTop, kTrackWidth, kTrackBottom - kTrackTop), theme.Brush(kTrackBrush));
    painter.setPen(theme.Pen(kScalePen));
    painter.drawRect(kTrackLeft, kTrackTop, kTrackWidth - 1, std::max(0, volumeTop - kTrackTop));
    painter.fillRect(QRect(kTrackLeft, volumeTop, kTrackWidth, kTrackBottom - volumeTop), theme.Brush(kVolumeBrush));
    painter.setPen(theme.Pen(kVolumePen));
    painter.drawRect(kTrackLeft, volumeTop, kTrackWidth - 1, kTrackBottom - volumeTop);
    if (level > 0) {
        painter.fillRect(QRect(kTrackLeft + 2, kTrackBottom - level, kTrackWidth - 4, level), theme.Brush(kLevelBrush));
    }
    painter.fillRect(QRect(13, 118 - h, 14, 14), theme.Brush(kKnobBrush));
    painter.setPen(theme.Pen(kKnobPen));
    painter.drawRect(13, 118 - h, 13, 13);
    CLabelPainter::Text(painter, 11, 2, QString::number(volume), theme.Font(kSmallFont), theme.Brush(kValueBrush));
}

intptr_t CMixerWnd::OnMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message == MSG_LEVEL_REFRESH)
        RedrawStrips(true);
    else if (message == MSG_PLAYBACK_STOPPED)
        RedrawStrips(false);
    return 0;
}

void CMixerWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const int32_t channel = CPanelMath::StripAt(point.x());
    if (channel < 0 || channel > 7)
        return;
    const int32_t value = CPanelMath::MixerValueAt(point.y());
    if (!CPanelMath::IsMixerClick(value))
        return;
    draggedChannel = channel;
    editor.SetChannelVolume(channel, CPanelMath::ClampVolume(value));
}

void CMixerWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (draggedChannel < 0)
        return;
    editor.SetChannelVolume(draggedChannel,
                            CPanelMath::ClampVolume(CPanelMath::MixerValueAt(event->position().toPoint().y())),
                            TEditStep::Continue);
}

void CMixerWnd::mouseReleaseEvent(QMouseEvent*)
{
    draggedChannel = -1;
}

void CMixerWnd::paintEvent(QPaintEvent* event)
{
    // Another screen density or another theme scheme: every strip anew.
    if (key.Changed(devicePixelRatioF()))
        MakeStrips(devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), CTheme::Get().Brush(kBackgroundBrush));
    for (int32_t c = 0; c < 8; ++c)
        painter.drawImage(kFirstStripX + STRIP_WIDTH * c, 0, strips[static_cast<std::size_t>(c)]);
}

} // namespace rix
