#include "TimeCounterWnd.h"

#include <QPainter>

#include "LabelPainter.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "Theme.h"

namespace rix {

namespace {
constexpr int kMinutesFont = 6;
constexpr int kHundredthsFont = 7;
constexpr int kBackgroundBrush = 26;
} // namespace

CTimeCounterWnd::CTimeCounterWnd(CPlaybackController& controller, QWidget* parent)
    : CMessageWidget(parent), controller(controller)
{
    setToolTip(QStringLiteral("The time of the playing row, or of the cursor's row"));
    ShowTime();
    controller.AddListener(this, POSTS_POSITION);
}

CTimeCounterWnd::~CTimeCounterWnd()
{
    controller.RemoveListener(this);
}

void CTimeCounterWnd::SetOrderCursor(int32_t)
{
    ShowTime();
}

void CTimeCounterWnd::SetRowCursor(int32_t)
{
    ShowTime();
}

void CTimeCounterWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_TEMPO))
        ShowTime();
}

intptr_t CTimeCounterWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_PLAYING_POSITION)
        return 0;
    playingRow = wParam < NO_PLAYING_POSITION ? static_cast<int32_t>(wParam) : -1;
    ShowTime();
    return 1;
}

void CTimeCounterWnd::ShowTime()
{
    const int32_t row = playingRow >= 0 ? playingRow
                                        : controller.GetCurrentOrder() * RIX_ROWS + controller.GetCurrentRow();
    int32_t bpm = 0;
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        bpm = data->bpm;
    }
    const int32_t shown = CPanelMath::TimeOfRow(static_cast<uint32_t>(row), bpm);
    if (shown != time) {
        time = shown;
        update();
    }
}

void CTimeCounterWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(this);
    painter.fillRect(rect(), theme.Brush(kBackgroundBrush));
    CLabelPainter::Shadowed(painter, 0, 0, QString::fromStdString(CPanelMath::MinutesSeconds(time)),
                            theme.Font(kMinutesFont));
    CLabelPainter::Shadowed(painter, 70, 8, QString::fromStdString(CPanelMath::Hundredths(time)),
                            theme.Font(kHundredthsFont));
}

} // namespace rix
