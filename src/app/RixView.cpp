#include "RixView.h"

#include <algorithm>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include "BpmWnd.h"
#include "EnvEditorDlg.h"
#include "IClipboardTarget.h"
#include "ImageButton.h"
#include "MasterWnd.h"
#include "MixerWnd.h"
#include "OscBarWnd.h"
#include "OrderTableWnd.h"
#include "PatternWnd.h"
#include "PlaybackController.h"
#include "SideWnd.h"
#include "SongEditor.h"
#include "Theme.h"
#include "TimeCounterWnd.h"

namespace rix {

namespace {

// Theme bitmaps (normal, pushed) of the view's buttons.
constexpr int kEnvButtonBitmaps[2] = {312, 313};
constexpr int kPlayBitmaps[2] = {330, 331};
constexpr int kStopBitmaps[2] = {332, 333};
constexpr int kPatternPlayBitmaps[2] = {334, 335};
constexpr int kPlayFromCursorBitmaps[2] = {362, 363};

IClipboardTarget* FocusedClipboardTarget()
{
    return dynamic_cast<IClipboardTarget*>(QApplication::focusWidget());
}

} // namespace

const CRixView::TPlace CRixView::kOrderTable{"Order table", 0, 0, 165, 560, true};
const CRixView::TPlace CRixView::kPattern{"Pattern", 164, 310, 520, 560, true};
const CRixView::TPlace CRixView::kOscBar{"Oscbar", 165, 270, 520, 305};
const CRixView::TPlace CRixView::kMixer{"Mixer", 165, 130, 520, 270};
const CRixView::TPlace CRixView::kMaster{"Master", 165, 50, 520, 80};
const CRixView::TPlace CRixView::kSide{"Side", 530, 10, 900, 560, true, true};
const CRixView::TPlace CRixView::kTimeCounter{"Time counter", 268, 10, 384, 40};
const CRixView::TPlace CRixView::kPlay{"Play", 386, 10, 418, 42};
const CRixView::TPlace CRixView::kPlayFromCursor{"Play from cursor", 420, 10, 452, 42};
const CRixView::TPlace CRixView::kPatternPlay{"Pattern play", 454, 10, 486, 42};
const CRixView::TPlace CRixView::kStop{"Stop", 488, 10, 520, 42};
const CRixView::TPlace CRixView::kBpm{"bpm", 174, 13, 262, 39};

QRect CRixView::EnvButtonRect(int index)
{
    return QRect(193 + 40 * index, 90, 32, 32);
}

QRect CRixView::PlaceIn(const TPlace& place, QSize view)
{
    QRect rect = place.Rect();
    if (place.growsDown)
        rect.setBottom(rect.bottom() + std::max(0, view.height() - kComposition.height()));
    if (place.growsRight)
        rect.setRight(rect.right() + std::max(0, view.width() - kComposition.width()));
    return rect;
}

CRixView::CRixView(CSongEditor& editor, QWidget* parent)
    : QWidget(parent), editor(editor), controller(editor.Controller())
{
    setObjectName(QStringLiteral("View"));
    setAccessibleName(QStringLiteral("View"));
    setToolTip(tr("Help ▸ Keys and Mouse lists every key and mouse gesture"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kComposition);
    CreateChildren();
}

CRixView::~CRixView()
{
    controller.Stop();
}

void CRixView::Place(QWidget* child, const TPlace& place)
{
    child->setGeometry(PlaceIn(place, size()));
    child->setObjectName(QString::fromUtf8(place.text));
    child->setAccessibleName(QString::fromUtf8(place.text));
    child->show();
    placed.emplace_back(child, place);
}

void CRixView::Layout()
{
    for (const auto& [child, place] : placed)
        child->setGeometry(PlaceIn(place, size()));
}

void CRixView::resizeEvent(QResizeEvent*)
{
    Layout();
}

void CRixView::paintEvent(QPaintEvent* event)
{
    // The children cover their places; this is what lies between them.
    QPainter painter(this);
    painter.fillRect(event->rect(), CTheme::Get().Brush(CTheme::BACKGROUND_BRUSH));
}

void CRixView::CreateChildren()
{
    // In the tab order: order table, pattern, oscillator bar, mixer, master,
    // side panel. Tab in either grid goes to the other.
    auto* orderTable = new COrderTableWnd(editor, this);
    Place(orderTable, kOrderTable);
    auto* pattern = new CPatternWnd(editor, this);
    Place(pattern, kPattern);
    connect(orderTable, &CGridWnd::OtherGridWanted, pattern, [pattern] { pattern->setFocus(Qt::TabFocusReason); });
    connect(pattern, &CGridWnd::OtherGridWanted, orderTable,
            [orderTable] { orderTable->setFocus(Qt::TabFocusReason); });
    Place(new COscBarWnd(controller, this), kOscBar);
    Place(new CMixerWnd(editor, this), kMixer);
    Place(new CMasterWnd(editor, this), kMaster);
    Place(new CSideWnd(editor, this), kSide);

    const struct {
        const TPlace& place;
        const int* bitmaps;
        const char* tip;
        void (CRixView::*handler)();
    } transport[] = {
        {kPlay, kPlayBitmaps, "Play the song from the order position (Enter)", &CRixView::OnPlay},
        {kPlayFromCursor, kPlayFromCursorBitmaps, "Play the song from the cursor's row (Shift+Enter)",
         &CRixView::OnPlayFromCursor},
        {kPatternPlay, kPatternPlayBitmaps, "Loop the order position (Ctrl+Enter)", &CRixView::OnPatternPlay},
        {kStop, kStopBitmaps, "Stop (Enter while playing)", &CRixView::OnStop},
    };
    for (const auto& button : transport) {
        auto* made = new CImageButton(QString::fromUtf8(button.place.text), button.bitmaps[0], button.bitmaps[1], this);
        Place(made, button.place);
        made->setToolTip(tr(button.tip));
        connect(made, &CImageButton::clicked, this, button.handler);
    }

    Place(new CTimeCounterWnd(controller, this), kTimeCounter);

    for (int i = 0; i < 8; ++i) {
        auto* button = new CImageButton(QStringLiteral("EnvButton"), kEnvButtonBitmaps[0], kEnvButtonBitmaps[1], this);
        const QRect rect = EnvButtonRect(i);
        Place(button, {"EnvButton", rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
        button->setToolTip(tr("Edit channel %1's envelope").arg(i + 1));
        connect(button, &CImageButton::clicked, this, [this, i] { OnEnvButton(i); });
    }

    Place(new CBpmWnd(editor, this), kBpm);
}

void CRixView::OnPlay()
{
    if (controller.IsPlaying())
        controller.Stop();
    controller.PlaySong();
}

void CRixView::OnPlayFromCursor()
{
    if (controller.IsPlaying())
        controller.Stop();
    controller.PlayFromCursor();
}

void CRixView::OnPatternPlay()
{
    if (controller.IsPlaying())
        controller.Stop();
    controller.PlayPatternLoop();
}

void CRixView::OnStop()
{
    controller.Stop();
}

void CRixView::SetFollowPlayback(bool follow)
{
    for (CGridWnd* grid : findChildren<CGridWnd*>())
        grid->SetFollowPlayback(follow);
}

void CRixView::OnEnvButton(int channel)
{
    CEnvEditorDlg dialog(this, editor, {channel, TEnvelopeAddress::CHANNEL, 0, 0});
    dialog.exec();
}

void CRixView::OnEditCut()
{
    if (IClipboardTarget* target = FocusedClipboardTarget())
        target->Cut();
}

void CRixView::OnEditCopy()
{
    if (IClipboardTarget* target = FocusedClipboardTarget())
        target->Copy();
}

void CRixView::OnEditPaste()
{
    if (IClipboardTarget* target = FocusedClipboardTarget())
        target->Paste();
}

} // namespace rix
