#include "MixerWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "LabelPainter.h"
#include "LevelClock.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "Theme.h"

namespace rix {

namespace {
constexpr int kSmallFont = 0;
constexpr QRgb kScale = 0xFFAAAAAA;
constexpr QRgb kTrack = 0xFFEEEEEE;
constexpr QRgb kVolume = 0xFF000088;
constexpr QRgb kLevel = 0xFF00FF00;
constexpr QRgb kKnobFill = 0xFF8888FF;
constexpr QRgb kKnobFrame = 0xFF0000FF;
constexpr QRgb kValueText = 0xFF888888;
constexpr uint32_t kLevelSamples = 2048;
constexpr int kTrackLeft = 15;
constexpr int kTrackTop = 20;
constexpr int kTrackBottom = 130;
constexpr int kTrackWidth = 10;
constexpr int kFirstStripX = 24;
} // namespace

CMixerWnd::CMixerWnd(CPlaybackController& controller, QWidget* parent)
    : CMessageWidget(parent), controller(controller)
{
    for (QImage& strip : strips)
        strip = QImage(STRIP_WIDTH, STRIP_HEIGHT, QImage::Format_RGB32);
    shownVolume.fill(-1);
    shownLevel.fill(-1);
    drawnVolume.fill(-1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    RedrawStrips(false);
    controller.RegisterTarget(EDITOR_MIXER, this);
}

CMixerWnd::~CMixerWnd()
{
    CLevelClock::Get().Leave(this);
    controller.RegisterTarget(EDITOR_MIXER, nullptr);
}

void CMixerWnd::RedrawStrips(bool nowPlaying)
{
    playing = nowPlaying;
    std::array<int32_t, 8> volumes{};
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        for (int32_t c = 0; c < 8; ++c)
            volumes[static_cast<std::size_t>(c)] = data->channels[c].volume;
    }
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

void CMixerWnd::DrawStrip(int32_t channel, int32_t volume, int32_t level)
{
    const auto index = static_cast<std::size_t>(channel);
    QImage& strip = strips[index];
    if (drawnVolume[index] != volume) {
        drawnVolume[index] = volume;
        emptyStrips[index] = QImage(STRIP_WIDTH, STRIP_HEIGHT, QImage::Format_RGB32);
        fullStrips[index] = QImage(STRIP_WIDTH, STRIP_HEIGHT, QImage::Format_RGB32);
        PaintStrip(emptyStrips[index], volume, 0);
        PaintStrip(fullStrips[index], volume, kTrackBottom - kTrackTop);
        strip = emptyStrips[index].copy();
    }
    // The column's rows, lit from the bottom up to the level; the knob lies
    // over it in both drawings.
    constexpr int kColumnLeft = kTrackLeft + 2;
    constexpr int kColumnBytes = (kTrackWidth - 4) * 4;
    for (int y = kTrackTop; y < kTrackBottom; ++y) {
        const QImage& source = y >= kTrackBottom - level ? fullStrips[index] : emptyStrips[index];
        std::memcpy(strip.scanLine(y) + kColumnLeft * 4, source.constScanLine(y) + kColumnLeft * 4, kColumnBytes);
    }
}

void CMixerWnd::PaintStrip(QImage& strip, int32_t volume, int32_t level) const
{
    QPainter painter(&strip);
    painter.fillRect(strip.rect(), Qt::white);
    painter.setPen(QColor::fromRgba(kScale));
    for (int y = 25; y <= 125; y += 25)
        painter.drawLine(11, y, 29, y);

    const int h = CPanelMath::VolumeHeight(volume);
    const int volumeTop = 125 - h;
    painter.fillRect(QRect(kTrackLeft, kTrackTop, kTrackWidth, kTrackBottom - kTrackTop), QColor::fromRgba(kTrack));
    painter.setPen(QColor::fromRgba(kScale));
    painter.drawRect(kTrackLeft, kTrackTop, kTrackWidth - 1, std::max(0, volumeTop - kTrackTop));
    painter.fillRect(QRect(kTrackLeft, volumeTop, kTrackWidth, kTrackBottom - volumeTop), QColor::fromRgba(kVolume));
    painter.setPen(Qt::black);
    painter.drawRect(kTrackLeft, volumeTop, kTrackWidth - 1, kTrackBottom - volumeTop);
    if (level > 0) {
        painter.fillRect(QRect(kTrackLeft + 2, kTrackBottom - level, kTrackWidth - 4, level), QColor::fromRgba(kLevel));
    }
    painter.fillRect(QRect(13, 118 - h, 14, 14), QColor::fromRgba(kKnobFill));
    painter.setPen(QColor::fromRgba(kKnobFrame));
    painter.drawRect(13, 118 - h, 13, 13);
    CLabelPainter::Text(painter, 11, 2, QString::number(volume), CTheme::Get().Font(kSmallFont),
                        QColor::fromRgba(kValueText));
}

void CMixerWnd::StoreVolume(int32_t channel, int32_t volume)
{
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_WRITE);
        data->channels[channel].volume = volume;
    }
    RedrawStrips(playing);
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
    controller.TakeInstrumentSnapshot(channel);
    draggedChannel = channel;
    StoreVolume(channel, CPanelMath::ClampVolume(value));
}

void CMixerWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (draggedChannel < 0)
        return;
    StoreVolume(draggedChannel, CPanelMath::ClampVolume(CPanelMath::MixerValueAt(event->position().toPoint().y())));
}

void CMixerWnd::mouseReleaseEvent(QMouseEvent*)
{
    draggedChannel = -1;
}

void CMixerWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const int stripsEnd = kFirstStripX + STRIP_WIDTH * 8;
    painter.fillRect(0, 0, kFirstStripX, height(), Qt::white);
    painter.fillRect(stripsEnd, 0, std::max(0, width() - stripsEnd), height(), Qt::white);
    painter.fillRect(kFirstStripX, STRIP_HEIGHT, STRIP_WIDTH * 8, std::max(0, height() - STRIP_HEIGHT), Qt::white);
    // Qt's raster engine hands a copy of more than 96 rows to its thread
    // pool, whose wake-ups cost far more than copying a narrow strip: the
    // strips go in bands below that.
    constexpr int kBandRows = 70;
    for (int32_t c = 0; c < 8; ++c)
        for (int top = 0; top < STRIP_HEIGHT; top += kBandRows)
            painter.drawImage(QPoint(kFirstStripX + STRIP_WIDTH * c, top), strips[static_cast<std::size_t>(c)],
                              QRect(0, top, STRIP_WIDTH, std::min(kBandRows, STRIP_HEIGHT - top)));
}

} // namespace rix
