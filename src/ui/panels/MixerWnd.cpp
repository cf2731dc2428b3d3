#include "MixerWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "LabelPainter.h"
#include "LevelClock.h"
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
    CLevelClock::Get().Leave(this);
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
    drawnVolume.fill(-1);
    RedrawStrips(playing);
}

void CMixerWnd::DrawStrip(int32_t channel, int32_t volume, int32_t level)
{
    const auto index = static_cast<std::size_t>(channel);
    QImage& strip = strips[index];
    const qreal ratio = strip.devicePixelRatio();
    if (drawnVolume[index] != volume) {
        drawnVolume[index] = volume;
        emptyStrips[index] = MakeOffscreen(QSize(STRIP_WIDTH, STRIP_HEIGHT), ratio);
        fullStrips[index] = MakeOffscreen(QSize(STRIP_WIDTH, STRIP_HEIGHT), ratio);
        PaintStrip(emptyStrips[index], volume, 0);
        PaintStrip(fullStrips[index], volume, kTrackBottom - kTrackTop);
        strip = emptyStrips[index].copy();
    }
    // The column's rows in image pixels, lit from the bottom up to the
    // level. Both drawings are alike outside the column (the knob lies over
    // it in both), so rounding its bounds outwards copies nothing wrong.
    const auto pixels = [ratio](int at, bool up) {
        const qreal scaled = at * ratio;
        return static_cast<int>(up ? std::ceil(scaled) : std::floor(scaled));
    };
    const int left = std::max(0, pixels(kTrackLeft + 2, false));
    const int right = std::min(strip.width(), pixels(kTrackLeft + kTrackWidth - 2, true));
    const int top = std::max(0, pixels(kTrackTop, false));
    const int bottom = std::min(strip.height(), pixels(kTrackBottom, true));
    const qreal lit = (kTrackBottom - level) * ratio;
    for (int y = top; y < bottom && left < right; ++y) {
        const QImage& source = y >= lit ? fullStrips[index] : emptyStrips[index];
        std::memcpy(strip.scanLine(y) + left * 4, source.constScanLine(y) + left * 4,
                    static_cast<std::size_t>(right - left) * 4);
    }
}

void CMixerWnd::PaintStrip(QImage& strip, int32_t volume, int32_t level) const
{
    const CTheme& theme = CTheme::Get();
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
    if (message == MSG_LEVEL_REFRESH) {
        RedrawStrips(true);
        CLevelClock::Get().Follow(this, [this] { RedrawStrips(true); });
    } else if (message == MSG_PLAYBACK_STOPPED) {
        CLevelClock::Get().Leave(this);
        RedrawStrips(false);
    }
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
    const QBrush& background = CTheme::Get().Brush(kBackgroundBrush);
    const int stripsEnd = kFirstStripX + STRIP_WIDTH * 8;
    painter.fillRect(0, 0, kFirstStripX, height(), background);
    painter.fillRect(stripsEnd, 0, std::max(0, width() - stripsEnd), height(), background);
    painter.fillRect(kFirstStripX, STRIP_HEIGHT, STRIP_WIDTH * 8, std::max(0, height() - STRIP_HEIGHT), background);
    // Qt's raster engine hands a copy of more than 96 rows to its thread
    // pool, whose wake-ups cost far more than copying a narrow strip: the
    // strips go in bands below that, counted in image pixels.
    constexpr int kBandPixels = 64;
    for (int32_t c = 0; c < 8; ++c) {
        const QImage& strip = strips[static_cast<std::size_t>(c)];
        for (int top = 0; top < strip.height(); top += kBandPixels)
            painter.drawImage(QPointF(kFirstStripX + STRIP_WIDTH * c, top / strip.devicePixelRatio()), strip,
                              QRectF(0, top, strip.width(), std::min(kBandPixels, strip.height() - top)));
    }
}

} // namespace rix
