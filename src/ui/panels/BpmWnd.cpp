#include "BpmWnd.h"

#include <QMouseEvent>
#include <QPainter>

#include "InPlaceEdit.h"
#include "LabelPainter.h"
#include "MouseGestures.h"
#include "PanelMath.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "SpinWnd.h"
#include "Theme.h"

namespace rix {

namespace {
// Theme colours by role.
constexpr int kBackgroundBrush = 8, kValueBrush = 30, kFramePen = 3;
constexpr int kSmallFont = 0;
// The number, where a click opens the edit.
const QRect kValueArea(41, 7, 39, 19);
constexpr int kMaxTextLength = 8;
} // namespace

CBpmWnd::CBpmWnd(CSongEditor& editor, QWidget* parent)
    : CMessageWidget(parent), editor(editor), controller(editor.Controller()), spin(new CSpinWnd(this)),
      edit(new CInPlaceEdit(this))
{
    spin->setGeometry(72, 3, 13, 20);
    spin->setAccessibleName(QStringLiteral("CSpinWnd"));
    spin->setObjectName(QStringLiteral("CSpinWnd"));
    spin->setToolTip(QStringLiteral("Tempo one up or down (hold to repeat)"));
    setToolTip(CMouseGestures::Tip(TMouseArea::Tempo));
    edit->setGeometry(40, 3, 44, 20);
    edit->setMaxLength(kMaxTextLength);
    edit->setAccessibleName(QStringLiteral("bpm edit"));
    edit->setToolTip(QStringLiteral("Type the tempo, 40 to 255 beats per minute; Enter takes it"));
    edit->hide();
    controller.AddListener(this);
}

CBpmWnd::~CBpmWnd()
{
    controller.RemoveListener(this);
    EndEdit();
}

void CBpmWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_TEMPO))
        update();
}

int32_t CBpmWnd::ReadBpm() const
{
    CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
    return data->bpm;
}

intptr_t CBpmWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    switch (message) {
    case MSG_EDIT_END:
        EndEdit();
        break;
    case MSG_SPIN_UP:
    case MSG_SPIN_DOWN:
        editor.StepTempo(message == MSG_SPIN_UP ? 1 : -1, StepOf(wParam));
        break;
    default:
        break;
    }
    return 0;
}

void CBpmWnd::StartEdit()
{
    edit->setText(QString::number(ReadBpm()));
    spin->hide();
    edit->show();
    edit->setFocus();
    edit->selectAll();
    editing = true;
}

void CBpmWnd::EndEdit()
{
    if (!editing)
        return;
    editing = false;
    edit->hide();
    editor.SetTempo(CPanelMath::ParseBpm(edit->text().left(kMaxTextLength).toStdString()));
    spin->show();
    update();
}

void CBpmWnd::mousePressEvent(QMouseEvent* event)
{
    EndEdit();
    if (event->button() == Qt::LeftButton && kValueArea.contains(event->position().toPoint()))
        StartEdit();
}

void CBpmWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(this);
    painter.fillRect(rect(), theme.Brush(kBackgroundBrush));
    painter.setPen(theme.Pen(kFramePen));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    CLabelPainter::Shadowed(painter, 6, 6, QStringLiteral("BPM:"), theme.Font(kSmallFont));
    if (!editing)
        CLabelPainter::Text(painter, 40, 6, QString::number(ReadBpm()), theme.Font(kSmallFont),
                            theme.Brush(kValueBrush));
}

} // namespace rix
