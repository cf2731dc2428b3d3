#include "OscillatorListMainWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "ImageButton.h"
#include "InstrumentEditor.h"
#include "InPlaceEdit.h"
#include "InstrumentItemPainter.h"
#include "InstrumentListGeometry.h"
#include "InstrumentPrompts.h"
#include "InstrumentValueText.h"
#include "MouseGestures.h"
#include "OscillatorListBodyWnd.h"
#include "SpinWnd.h"
#include "Theme.h"

namespace rix {

namespace {

constexpr int kSemitone = 100;
const QString kPanelTip = QStringLiteral("The channel's oscillators");

} // namespace

COscillatorListMainWnd::COscillatorListMainWnd(CSongEditor& editor, QWidget* parent)
    : CInstrumentPanelWnd(editor, parent)
{
    connect(AddToolButton(QStringLiteral("Trans"), QStringLiteral("Transpose all oscillators"), 349, 350),
            &CImageButton::clicked, this, &COscillatorListMainWnd::ToggleTranspose);
    findChild<CImageButton*>(QStringLiteral("Add"))->setToolTip(QStringLiteral("Add an oscillator"));
    findChild<CImageButton*>(QStringLiteral("New"))->setToolTip(QStringLiteral("Delete all oscillators"));
    setToolTip(kPanelTip);

    const int rowTop = PANEL_TOOL_ROW_HEIGHT;
    amountBar = new QScrollBar(Qt::Vertical, this);
    amountBar->setObjectName(QStringLiteral("Transpose scroll bar"));
    amountBar->setAccessibleName(QStringLiteral("Transpose scroll bar"));
    amountBar->setToolTip(QStringLiteral("Transpose amount: the upper arrow one semitone up, the lower one down"));
    amountBar->setRange(0, 200);
    amountBar->setValue(100);
    amountBar->setGeometry(128, rowTop + 3, 15, 24);
    connect(amountBar, &QScrollBar::actionTriggered, this,
            [this] { SetAmount(CentsFromScrollPosition(amountBar->sliderPosition())); });
    amountSpin = new CSpinWnd(this);
    amountSpin->setObjectName(QStringLiteral("Transpose spin"));
    amountSpin->setAccessibleName(QStringLiteral("Transpose spin"));
    amountSpin->setToolTip(QStringLiteral("The amount one semitone up or down"));
    amountSpin->setGeometry(148, rowTop + 5, CSpinWnd::WIDTH, CSpinWnd::HEIGHT);
    okButton = new CImageButton(QStringLiteral("OK"), 351, 352, this);
    okButton->setToolTip(QStringLiteral("Transpose every oscillator by the amount"));
    okButton->setGeometry(168, rowTop + 4, PANEL_BUTTON_SIZE, PANEL_BUTTON_SIZE);
    connect(okButton, &CImageButton::clicked, this, &COscillatorListMainWnd::ApplyTranspose);
    amountEdit = new CInPlaceEdit(this);
    amountEdit->setObjectName(QStringLiteral("Transpose amount"));
    amountEdit->setAccessibleName(QStringLiteral("Transpose amount"));
    amountEdit->setToolTip(QStringLiteral("Type the amount in semitones and cents (-12.50); Enter takes it"));
    amountEdit->setMaxLength(8);
    amountEdit->setGeometry(TRANSPOSE_AMOUNT_RECT.left - 2, TRANSPOSE_AMOUNT_RECT.top - 1, 42, 21);
    connect(amountEdit, &QLineEdit::editingFinished, this, &COscillatorListMainWnd::CommitAmountEdit);
    for (QWidget* child : {static_cast<QWidget*>(amountBar), static_cast<QWidget*>(amountSpin),
                           static_cast<QWidget*>(okButton), static_cast<QWidget*>(amountEdit)})
        child->hide();

    list = new COscillatorListBodyWnd(editor, this);
    SetBody(list);
}

COscillatorListMainWnd::~COscillatorListMainWnd()
{
    amountEdit->disconnect(this);
}

int COscillatorListMainWnd::BodyTop() const
{
    return PANEL_TOOL_ROW_HEIGHT + (transposeShown ? TRANSPOSE_ROW_HEIGHT : 0);
}

void COscillatorListMainWnd::OnAdd()
{
    Editor().AddOscillator(Channel());
}

void COscillatorListMainWnd::OnNew()
{
    const QString question = QStringLiteral("Do you want to delete all the oscillators in this channel?");
    if (!CInstrumentPrompts::Get().Ask(this, question))
        return;
    Editor().ClearOscillators(Channel());
}

void COscillatorListMainWnd::ToggleTranspose()
{
    transposeShown = !transposeShown;
    amountBar->setVisible(transposeShown);
    amountSpin->setVisible(transposeShown);
    okButton->setVisible(transposeShown);
    if (!transposeShown)
        amountEdit->hide();
    setToolTip(transposeShown ? kPanelTip + QStringLiteral(" · ") + CMouseGestures::Tip(TMouseArea::Transpose)
                              : kPanelTip);
    LayoutChildren();
    update();
}

void COscillatorListMainWnd::ApplyTranspose()
{
    if (!transposeShown)
        return;
    CommitAmountEdit();
    Editor().TransposeAll(Channel(), transposeAmount);
    ToggleTranspose();
}

void COscillatorListMainWnd::SetAmount(int32_t cents)
{
    transposeAmount = cents;
    const QSignalBlocker blocker(amountBar);
    amountBar->setValue(ScrollPositionFromCents(cents));
    update();
}

void COscillatorListMainWnd::OpenAmountEdit()
{
    if (!transposeShown)
        return;
    amountEdit->setText(QString::fromStdString(FormatPitch(transposeAmount)));
    amountEdit->show();
    amountEdit->selectAll();
    amountEdit->setFocus();
}

void COscillatorListMainWnd::CommitAmountEdit()
{
    if (amountEdit->isHidden())
        return;
    amountEdit->hide();
    SetAmount(ParsePitch(amountEdit->text().toStdString()));
}

intptr_t COscillatorListMainWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == MSG_EDIT_END) {
        CommitAmountEdit();
        return 0;
    }
    if (lParam == reinterpret_cast<intptr_t>(amountSpin)) {
        SetAmount(transposeAmount + (message == MSG_SPIN_UP ? kSemitone : -kSemitone));
        return 0;
    }
    return CInstrumentPanelWnd::OnMessage(message, wParam, lParam);
}

void COscillatorListMainWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (transposeShown && TRANSPOSE_AMOUNT_RECT.Contains(at.x(), at.y()))
        OpenAmountEdit();
}

void COscillatorListMainWnd::paintEvent(QPaintEvent* event)
{
    CInstrumentPanelWnd::paintEvent(event);
    if (!transposeShown)
        return;
    QPainter painter(this);
    painter.setPen(CTheme::Get().Pen(3));
    painter.drawLine(0, PANEL_TOOL_ROW_HEIGHT, width(), PANEL_TOOL_ROW_HEIGHT);
    DrawItemLabel(painter, 8, TRANSPOSE_AMOUNT_RECT.top, QStringLiteral("Transpose all:"));
    DrawItemValue(painter, TRANSPOSE_AMOUNT_RECT.left, TRANSPOSE_AMOUNT_RECT.top,
                  QString::fromStdString(FormatPitch(transposeAmount)));
}

} // namespace rix
