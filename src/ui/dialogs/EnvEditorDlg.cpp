#include "EnvEditorDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

#include "EnvGraphWnd.h"
#include "EnvelopeMath.h"
#include "PlaybackController.h"
#include "RixArithmetic.h"
#include "SongEditor.h"

namespace rix {
namespace {

// Phase units per step of the phase, keep and sustain edits and trackbars.
constexpr int32_t PHASE_STEP = 2048;

// The reset list in its order, with the reset mode each item stands for.
struct TResetItem {
    const char* text;
    int32_t mode;
};
constexpr TResetItem RESET_ITEMS[] = {
    {"Song", RIXRESET_SONG},
    {"Pattern", RIXRESET_PATTERN},
    {"Two patterns", RIXRESET_TWO_PATTERNS},
    {"Four patterns", RIXRESET_FOUR_PATTERNS},
    {"Note", RIXRESET_NOTE},
};

// The layout is in dialog units of an 8-point dialog font: 1.5 pixels
// across, 1.625 down.
QRect Units(int x, int y, int w, int h)
{
    const auto across = [](int units) { return (units * 3 + 1) / 2; };
    const auto down = [](int units) { return (units * 13 + 4) / 8; };
    return QRect(across(x), down(y), across(x + w) - across(x), down(y + h) - down(y));
}

// Leading blanks, a sign and digits, like C's atoi: "12ab" is 12 and
// anything unreadable 0; only the first maxLength characters count.
int32_t ParseInteger(const QString& text, int maxLength)
{
    const std::string digits = text.left(maxLength).toStdString();
    const long long value = std::strtoll(digits.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

// Like C's atof but always with a decimal point, whatever the desktop's
// locale: leading blanks, a sign, then the longest number; else 0.
double ParseNumber(const QString& text, int maxLength)
{
    const std::string digits = text.left(maxLength).toStdString();
    const char* first = digits.c_str();
    const char* last = first + digits.size();
    while (first != last && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    if (first != last && *first == '+')
        ++first;
    double value = 0.0;
    if (std::from_chars(first, last, value).ec != std::errc())
        return 0.0;
    return value;
}

// A label left of a control row whose edit stands at editY (dialog units),
// centred on the edit: the Linux fonts are taller than the dialog font the
// layout was made for, so the label gets the edit's height and reaches to
// the next control.
QLabel* MakeLabel(const QString& text, int x, int editY, int width, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(Units(x, editY, width, 14));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

template <class TWidget> TWidget* Named(TWidget* widget, const QString& name, const QRect& rect)
{
    widget->setAccessibleName(name);
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

} // namespace

CEnvEditorDlg::CEnvEditorDlg(QWidget* parent, CSongEditor& editor, const TEnvelopeAddress& address)
    : QDialog(parent), editor(editor), address(address),
      envelope(editor.Instruments().ReadEnvelope(address).value_or(TRixEnvelope::Default()))
{
    setWindowTitle(QStringLiteral("Envelope editor"));
    setAccessibleName(windowTitle());
    setObjectName(QStringLiteral("EnvelopeEditor"));
    QFont dialogFont;
    // The layout's font, else its nearest relative on Linux desktops.
    dialogFont.setFamilies({QStringLiteral("MS Shell Dlg"), QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Liberation Sans")});
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(Units(0, 0, 310, 259).size());
    CreateControls();
    Fill();
    Redraw();
}

void CEnvEditorDlg::CreateControls()
{
    graph = new CEnvGraphWnd(this);
    graph->setGeometry(Units(7, 7, 240, 116));

    auto* closeButton = Named(new QPushButton(QStringLiteral("Close"), this), QStringLiteral("Close"), Units(253, 7, 50, 14));
    closeButton->setDefault(true);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* testButton = Named(new QPushButton(QStringLiteral("Test"), this), QStringLiteral("Test"), Units(253, 23, 50, 14));
    connect(testButton, &QPushButton::clicked, this,
            [this] { this->editor.Controller().PreviewNote(this->address.channel, 61); });
    auto* resetButton = Named(new QPushButton(QStringLiteral("Reset"), this), QStringLiteral("Reset"), Units(253, 39, 50, 14));
    connect(resetButton, &QPushButton::clicked, this, &CEnvEditorDlg::OnReset);

    MakeLabel(QStringLiteral("Max:"), 7, 126, 80, this);
    maxEdit = Named(new QLineEdit(this), QStringLiteral("Max"), Units(92, 126, 40, 14));
    MakeLabel(QStringLiteral("Min:"), 7, 143, 80, this);
    minEdit = Named(new QLineEdit(this), QStringLiteral("Min"), Units(92, 143, 40, 14));
    for (QLineEdit* edit : {maxEdit, minEdit})
        connect(edit, &QLineEdit::textChanged, this, &CEnvEditorDlg::OnMinMaxEdited);

    MakeLabel(QStringLiteral("Rows per cycle:"), 7, 159, 84, this);
    rowsEdit = Named(new QLineEdit(this), QStringLiteral("Rows per cycle"), Units(92, 159, 40, 14));
    connect(rowsEdit, &QLineEdit::textChanged, this, &CEnvEditorDlg::OnRowsEdited);
    rowsTrackbar = Named(new QSlider(Qt::Horizontal, this), QStringLiteral("Rows per cycle trackbar"),
                         Units(136, 159, 167, 15));
    rowsTrackbar->setRange(0, CEnvelopeMath::ROWS_STEPS - 1);
    rowsTrackbar->setPageStep(1);
    connect(rowsTrackbar, &QSlider::valueChanged, this, &CEnvEditorDlg::OnRowsTrackbar);
    speedLine = new QLabel(QStringLiteral("8.15 Hz"), this);
    speedLine->setGeometry(Units(92, 174, 211, 9));
    speedLine->setObjectName(QStringLiteral("Speed"));

    struct TRowLayout {
        TPhaseRow* row;
        int32_t TRixEnvelope::*member;
        const char* name;
        int y;
        int trackbarY;
        int steps;
    };
    const TRowLayout rows[] = {
        {&phaseRow, &TRixEnvelope::phase, "Phase", 189, 188, 32},
        {&keepRow, &TRixEnvelope::keep, "Keep", 205, 205, 64},
        {&sustainRow, &TRixEnvelope::sustain, "Sustain", 221, 221, 64},
    };
    for (const TRowLayout& layout : rows) {
        const QString name = QString::fromLatin1(layout.name);
        MakeLabel(name + QLatin1Char(':'), 7, layout.y, 40, this);
        TPhaseRow& row = *layout.row;
        row.member = layout.member;
        row.edit = Named(new QLineEdit(this), name, Units(92, layout.y, 40, 14));
        row.trackbar = Named(new QSlider(Qt::Horizontal, this), name + QStringLiteral(" trackbar"),
                             Units(136, layout.trackbarY, 167, 15));
        row.trackbar->setRange(0, layout.steps);
        row.trackbar->setPageStep(4);
        row.trackbar->setTickPosition(QSlider::TicksBelow);
        row.trackbar->setTickInterval(layout.steps / 8);
        connect(row.edit, &QLineEdit::textChanged, this, [this, &row] { OnPhaseRowEdited(row); });
        connect(row.trackbar, &QSlider::valueChanged, this, [this, &row](int position) { OnPhaseRowTrackbar(row, position); });
    }

    keepEnabled = Named(new QCheckBox(QStringLiteral("Enabled"), this), QStringLiteral("Keep Enabled"), Units(47, 205, 44, 14));
    connect(keepEnabled, &QCheckBox::clicked, this,
            [this](bool checked) { OnEnabledClicked(&TRixEnvelope::keepEnabled, checked); });
    sustainEnabled = Named(new QCheckBox(QStringLiteral("Enabled"), this), QStringLiteral("Sustain Enabled"),
                           Units(47, 221, 44, 14));
    connect(sustainEnabled, &QCheckBox::clicked, this,
            [this](bool checked) { OnEnabledClicked(&TRixEnvelope::sustainEnabled, checked); });

    MakeLabel(QStringLiteral("Reset:"), 7, 240, 40, this);
    resetList = Named(new QComboBox(this), QStringLiteral("Reset mode"), Units(48, 240, 89, 14));
    for (const TResetItem& item : RESET_ITEMS)
        resetList->addItem(QString::fromLatin1(item.text), item.mode);
    connect(resetList, &QComboBox::currentIndexChanged, this, &CEnvEditorDlg::OnResetModeChanged);

    // An edit and its trackbar say the same.
    const std::pair<const char*, const char*> tips[] = {
        {"Graph", "The envelope over its first cycles; the lines mark rows"},
        {"Test", "Play C-5 on the channel's instrument"},
        {"Reset", "The envelope's values as a new envelope has them"},
        {"Max", "The envelope's highest value"},
        {"Min", "The envelope's lowest value"},
        {"Rows per cycle", "How many pattern rows one cycle lasts at the song's tempo"},
        {"Phase", "Where in its cycle the envelope starts, in 32nds of a cycle"},
        {"Keep", "Where the envelope stops and keeps its value, in 32nds of a cycle"},
        {"Sustain", "The sustain point, in 32nds of a cycle"},
        {"Reset mode", "When the envelope starts its cycle again"},
    };
    for (const auto& [name, tip] : tips)
        for (QWidget* widget : {findChild<QWidget*>(QString::fromLatin1(name)),
                                findChild<QWidget*>(QString::fromLatin1(name) + QStringLiteral(" trackbar"))})
            if (widget)
                widget->setToolTip(QString::fromLatin1(tip));
}

void CEnvEditorDlg::Fill()
{
    const TRixEnvelope values = envelope;
    {
        const QSignalBlocker block(rowsTrackbar);
        rowsTrackbar->setValue(
            CEnvelopeMath::RowsTrackbarPosition(CEnvelopeMath::RowsPerCycle(RowLength(), values.speed)));
    }
    for (const TPhaseRow* row : {&phaseRow, &keepRow, &sustainRow}) {
        const QSignalBlocker block(row->trackbar);
        row->trackbar->setValue(values.*row->member / PHASE_STEP);
    }

    updating = true;
    keepEnabled->setChecked(values.keepEnabled);
    sustainEnabled->setChecked(values.sustainEnabled);
    for (QWidget* widget : {static_cast<QWidget*>(keepRow.edit), static_cast<QWidget*>(keepRow.trackbar)})
        widget->setEnabled(values.keepEnabled);
    for (QWidget* widget : {static_cast<QWidget*>(sustainRow.edit), static_cast<QWidget*>(sustainRow.trackbar)})
        widget->setEnabled(values.sustainEnabled);
    ShowSpeed(true);
    maxEdit->setText(QString::number(values.maxValue));
    minEdit->setText(QString::number(values.minValue));
    for (const TPhaseRow* row : {&phaseRow, &keepRow, &sustainRow})
        row->edit->setText(QString::number(values.*row->member / PHASE_STEP));
    updating = false;

    const QSignalBlocker block(resetList);
    resetList->setCurrentIndex(resetList->findData(values.resetMode));
}

int32_t CEnvEditorDlg::RowLength() const
{
    return editor.Read([](const CRixModuleData& song) { return song.GetRowLength(); });
}

void CEnvEditorDlg::Commit(const QObject* control)
{
    const bool continuing = control != nullptr && control == lastControl;
    editor.Instruments().SetEnvelope(address, envelope, continuing ? TEditStep::Continue : TEditStep::New);
    lastControl = control;
}

void CEnvEditorDlg::ShowSpeed(bool withEdit)
{
    const int32_t speed = envelope.speed;
    const int32_t rowLength = RowLength();
    const float rows = CEnvelopeMath::RowsPerCycle(rowLength, speed);
    if (withEdit)
        rowsEdit->setText(QString::asprintf("%.2f", static_cast<double>(rows)));
    speedLine->setText(QString::fromStdString(CEnvelopeMath::SpeedLine(speed, rowLength, rows)));
}

void CEnvEditorDlg::Redraw()
{
    graph->Render(envelope, RowLength());
}

void CEnvEditorDlg::OnMinMaxEdited()
{
    if (updating)
        return;
    int32_t lo = ParseInteger(minEdit->text(), 15);
    int32_t hi = ParseInteger(maxEdit->text(), 15);
    if (lo > hi)
        std::swap(lo, hi);
    if (lo == hi) {
        if (hi < std::numeric_limits<int32_t>::max())
            ++hi;
        else
            --lo;
    }
    envelope.minValue = lo;
    envelope.maxValue = hi;
    Commit(sender());
    Redraw();
}

void CEnvEditorDlg::OnRowsEdited()
{
    if (updating)
        return;
    float rows = static_cast<float>(ParseNumber(rowsEdit->text(), 255));
    // Also catches "nan", which would make no speed at all.
    if (!(rows >= 0.01f))
        rows = 0.01f;
    envelope.speed = std::max(CEnvelopeMath::SpeedFor(RowLength(), rows), 1);
    Commit(rowsEdit);
    ShowSpeed(false);
    const QSignalBlocker block(rowsTrackbar);
    rowsTrackbar->setValue(CEnvelopeMath::RowsTrackbarPosition(rows));
    Redraw();
}

void CEnvEditorDlg::OnPhaseRowEdited(const TPhaseRow& row)
{
    if (updating)
        return;
    const int32_t steps = ParseInteger(row.edit->text(), 255);
    envelope.*row.member = WrapMul(steps, PHASE_STEP);
    Commit(row.edit);
    const QSignalBlocker block(row.trackbar);
    row.trackbar->setValue(steps);
    Redraw();
}

void CEnvEditorDlg::OnRowsTrackbar(int position)
{
    if (updating)
        return;
    updating = true;
    // No minimum here: a very long cycle at a slow tempo may give 0.
    envelope.speed =
        CEnvelopeMath::SpeedFor(RowLength(), CEnvelopeMath::ROWS_TABLE[static_cast<std::size_t>(position)]);
    Commit(rowsTrackbar);
    ShowSpeed(true);
    Redraw();
    updating = false;
}

void CEnvEditorDlg::OnPhaseRowTrackbar(const TPhaseRow& row, int position)
{
    if (updating)
        return;
    updating = true;
    envelope.*row.member = position * PHASE_STEP;
    Commit(row.trackbar);
    row.edit->setText(QString::number(position));
    Redraw();
    updating = false;
}

void CEnvEditorDlg::OnEnabledClicked(bool TRixEnvelope::*flag, bool checked)
{
    envelope.*flag = checked;
    Commit(sender());
    const TPhaseRow& row = flag == &TRixEnvelope::keepEnabled ? keepRow : sustainRow;
    row.edit->setEnabled(checked);
    row.trackbar->setEnabled(checked);
    Redraw();
}

void CEnvEditorDlg::OnResetModeChanged(int index)
{
    if (index < 0)
        return;
    envelope.resetMode = resetList->itemData(index).toInt();
    Commit(resetList);
    Redraw();
}

void CEnvEditorDlg::OnReset()
{
    if (QMessageBox::question(this, QStringLiteral("SONRIX3"), QStringLiteral("Do you want to reset this envelope?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    envelope = ResetEnvelope();
    // A step of its own, whatever comes next.
    Commit(nullptr);
    Fill();
    Redraw();
}

} // namespace rix
