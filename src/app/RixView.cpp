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
const CRixView::TPlace CRixView::kSide{"Side", 530, 10, 900, 560, true};
const CRixView::TPlace CRixView::kTimeCounter{"Time counter", 280, 10, 400, 40};
const CRixView::TPlace CRixView::kPlay{"Play", 400, 10, 432, 42};
const CRixView::TPlace CRixView::kPatternPlay{"Pattern play", 434, 10, 466, 42};
const CRixView::TPlace CRixView::kStop{"Stop", 468, 10, 500, 42};
const CRixView::TPlace CRixView::kBpm{"bpm", 180, 13, 268, 39};

QRect CRixView::EnvButtonRect(int index)
{
    return QRect(193 + 40 * index, 90, 32, 32);
}

QRect CRixView::PlaceIn(const TPlace& place, QSize view)
{
    const int across = std::max(0, (view.width() - kComposition.width()) / 2);
    QRect rect = place.Rect().translated(across, 0);
    if (place.growsDown)
        rect.setBottom(rect.bottom() + std::max(0, view.height() - kComposition.height()));
    return rect;
}

CRixView::CRixView(CSongEditor& editor, QWidget* parent)
    : QWidget(parent), editor(editor), controller(editor.Controller())
{
    setObjectName(QStringLiteral("View"));
    setAccessibleName(QStringLiteral("View"));
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

    auto* play = new CImageButton(QString::fromUtf8(kPlay.text), kPlayBitmaps[0], kPlayBitmaps[1], this);
    Place(play, kPlay);
    connect(play, &CImageButton::clicked, this, &CRixView::OnPlay);
    auto* patternPlay = new CImageButton(QString::fromUtf8(kPatternPlay.text), kPatternPlayBitmaps[0],
                                         kPatternPlayBitmaps[1], this);
    Place(patternPlay, kPatternPlay);
    connect(patternPlay, &CImageButton::clicked, this, &CRixView::OnPatternPlay);
    auto* stop = new CImageButton(QString::fromUtf8(kStop.text), kStopBitmaps[0], kStopBitmaps[1], this);
    Place(stop, kStop);
    connect(stop, &CImageButton::clicked, this, &CRixView::OnStop);

    Place(new CTimeCounterWnd(controller, this), kTimeCounter);

    for (int i = 0; i < 8; ++i) {
        auto* button = new CImageButton(QStringLiteral("EnvButton"), kEnvButtonBitmaps[0], kEnvButtonBitmaps[1], this);
        const QRect rect = EnvButtonRect(i);
        Place(button, {"EnvButton", rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
        button->setToolTip(tr("Channel %1 envelope").arg(i + 1));
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
