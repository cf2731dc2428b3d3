#include "OscBarWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "LabelPainter.h"
#include "LevelClock.h"
#include "MouseGestures.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "Theme.h"

namespace rix {

namespace {
// Theme colours by role.
constexpr int kBackgroundBrush = 9, kCellBrush = 15, kMutedBrush = 20;
constexpr int kFramePen = 6, kTracePen = 7, kSilentTracePen = 8;
constexpr int kMutedFont = 4;
constexpr uint32_t kScopeSamples = 1024;
// Every eighth sample makes one pixel column of the trace.
constexpr int kScopeStride = 8;
constexpr int kFirstCellX = 24;
} // namespace

COscBarWnd::COscBarWnd(CPlaybackController& controller, QWidget* parent)
    : CMessageWidget(parent), controller(controller)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(CMouseGestures::Tip(TMouseArea::OscillatorBar));
    MakeCells(1);
    controller.AddListener(this, POSTS_LEVELS);
}

COscBarWnd::~COscBarWnd()
{
    CLevelClock::Get().Leave(this);
    controller.RemoveListener(this);
}

void COscBarWnd::RedrawCells(bool withScopes)
{
    showingScopes = withScopes;
    std::array<int32_t, kScopeSamples> samples{};
    for (int32_t c = 0; c < 8; ++c) {
        const bool heard = withScopes && controller.CopyHeardOutput(c, samples.data(), kScopeSamples);
        TTrace trace{};
        if (heard)
            for (int x = 0; x < CPanelMath::kScopeWidth; ++x)
                trace[static_cast<std::size_t>(x)] = samples[static_cast<std::size_t>(x * kScopeStride)];
        TShown now{true, controller.IsChannelEnabled(c), heard, trace};
        TShown& before = shown[static_cast<std::size_t>(c)];
        if (before.drawn && before.enabled == now.enabled && before.scope == now.scope && before.trace == now.trace)
            continue;
        before = now;
        DrawCell(c, heard ? &trace : nullptr);
        update(kFirstCellX + CELL_WIDTH * c, 0, CELL_WIDTH, CELL_HEIGHT);
    }
}

void COscBarWnd::MakeCells(qreal ratio)
{
    for (QImage& cell : cells)
        cell = MakeOffscreen(QSize(CELL_WIDTH, CELL_HEIGHT), ratio);
    const CTheme& theme = CTheme::Get();
    emptyCell = MakeOffscreen(QSize(CELL_WIDTH, CELL_HEIGHT), ratio);
    {
        QPainter painter(&emptyCell);
        painter.fillRect(QRect(0, 0, CELL_WIDTH, CELL_HEIGHT), theme.Brush(kCellBrush));
        painter.setPen(theme.Pen(kFramePen));
        painter.drawRect(0, 0, CELL_WIDTH - 1, CELL_HEIGHT - 1);
    }
    for (TShown& cell : shown)
        cell.drawn = false;
    RedrawCells(showingScopes);
}

void COscBarWnd::DrawCell(int32_t channel, const TTrace* trace)
{
    const CTheme& theme = CTheme::Get();
    QImage& cell = cells[static_cast<std::size_t>(channel)];
    std::memcpy(cell.bits(), emptyCell.constBits(), static_cast<std::size_t>(emptyCell.sizeInBytes()));
    if (trace) {
        // From the last point down or up to this one, in this column, in
        // image pixels; the parts outside the cell are cut off.
        const qreal ratio = cell.devicePixelRatio();
        const auto pixel = [ratio](int at) { return static_cast<int>(at * ratio); };
        const QRgb sounding = theme.Pen(kTracePen).rgb();
        const QRgb silent = theme.Pen(kSilentTracePen).rgb();
        int previousY = 15;
        for (int x = 0; x < CPanelMath::kScopeWidth; ++x) {
            const int32_t sample = (*trace)[static_cast<std::size_t>(x)];
            const int y = CPanelMath::ScopeY(sample);
            const QRgb colour = sample == 0 ? silent : sounding;
            const int top = std::max(pixel(std::min(previousY, y)), 0);
            const int bottom = std::min(pixel(std::max(previousY, y) + 1), cell.height());
            const int right = std::min(pixel(x + 1), cell.width());
            for (int row = top; row < bottom; ++row) {
                auto* line = reinterpret_cast<QRgb*>(cell.scanLine(row));
                std::fill(line + pixel(x), line + right, colour);
            }
            previousY = y;
        }
    }
    if (!controller.IsChannelEnabled(channel)) {
        QPainter painter(&cell);
        CLabelPainter::Text(painter, 7, -2, QStringLiteral("X"), theme.Font(kMutedFont), theme.Brush(kMutedBrush));
    }
}

intptr_t COscBarWnd::OnMessage(uint32_t message, uintptr_t, intptr_t)
{
    if (message == MSG_LEVEL_REFRESH) {
        RedrawCells(true);
        CLevelClock::Get().Follow(this, [this] { RedrawCells(true); });
    } else if (message == MSG_PLAYBACK_STOPPED) {
        CLevelClock::Get().Leave(this);
        RedrawCells(false);
    }
    return 0;
}

void COscBarWnd::mousePressEvent(QMouseEvent* event)
{
    const int32_t channel = CPanelMath::StripAt(static_cast<int32_t>(event->position().x()));
    if (channel < 0 || channel > 7)
        return;
    if (event->button() == Qt::LeftButton) {
        controller.SetChannelEnabled(channel, !controller.IsChannelEnabled(channel));
    } else if (event->button() == Qt::RightButton) {
        std::array<bool, 8> enabled{};
        for (int32_t c = 0; c < 8; ++c)
            enabled[static_cast<std::size_t>(c)] = controller.IsChannelEnabled(c);
        const std::array<bool, 8> solo = CPanelMath::Solo(enabled, channel);
        for (int32_t c = 0; c < 8; ++c)
            controller.SetChannelEnabled(c, solo[static_cast<std::size_t>(c)]);
    } else {
        return;
    }
    RedrawCells(showingScopes && controller.IsPlaying());
}

void COscBarWnd::paintEvent(QPaintEvent* event)
{
    // Another screen density or another theme scheme: every cell anew.
    if (key.Changed(devicePixelRatioF()))
        MakeCells(devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), CTheme::Get().Brush(kBackgroundBrush));
    for (int32_t c = 0; c < 8; ++c)
        painter.drawImage(kFirstCellX + CELL_WIDTH * c, 0, cells[static_cast<std::size_t>(c)]);
}

} // namespace rix
