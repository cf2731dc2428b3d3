#include "RixView.h"

#include <QApplication>

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

const CRixView::TPlace CRixView::kOrderTable{"Order table", 0, 0, 165, 560};
const CRixView::TPlace CRixView::kPattern{"Pattern", 164, 310, 520, 560};
const CRixView::TPlace CRixView::kOscBar{"Oscbar", 165, 270, 520, 305};
const CRixView::TPlace CRixView::kMixer{"Mixer", 165, 130, 520, 270};
const CRixView::TPlace CRixView::kMaster{"Master", 165, 50, 520, 80};
const CRixView::TPlace CRixView::kSide{"Side", 530, 10, 900, 560};
const CRixView::TPlace CRixView::kTimeCounter{"Time counter", 280, 10, 400, 40};
const CRixView::TPlace CRixView::kPlay{"Play", 400, 10, 432, 42};
const CRixView::TPlace CRixView::kPatternPlay{"Pattern play", 434, 10, 466, 42};
const CRixView::TPlace CRixView::kStop{"Stop", 468, 10, 500, 42};
const CRixView::TPlace CRixView::kBpm{"bpm", 180, 13, 268, 39};

QRect CRixView::EnvButtonRect(int index)
{
    return QRect(193 + 40 * index, 90, 32, 32);
}

CRixView::CRixView(CSongEditor& editor, QWidget* parent)
    : QWidget(parent), editor(editor), controller(editor.Controller())
{
    setObjectName(QStringLiteral("View"));
    setAccessibleName(QStringLiteral("View"));
    // The children draw themselves with the theme; the view between them is
    // plain white whatever the application look.
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setAutoFillBackground(true);
    setMinimumSize(kSide.right + 10, kOrderTable.bottom);
    CreateChildren();
}

CRixView::~CRixView()
{
    controller.Stop();
}

void CRixView::Place(QWidget* child, const TPlace& place)
{
    child->setGeometry(place.Rect());
    child->setObjectName(QString::fromUtf8(place.text));
    child->setAccessibleName(QString::fromUtf8(place.text));
    child->show();
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

    for (int i = 0; i < static_cast<int>(envButtons.size()); ++i) {
        auto* button = new CImageButton(QStringLiteral("EnvButton"), kEnvButtonBitmaps[0], kEnvButtonBitmaps[1], this);
        Place(button, {"EnvButton", 0, 0, 0, 0});
        button->setGeometry(EnvButtonRect(i));
        button->setToolTip(tr("Channel %1 envelope").arg(i + 1));
        connect(button, &CImageButton::clicked, this, [this, i] { OnEnvButton(i); });
        envButtons[static_cast<std::size_t>(i)] = button;
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
