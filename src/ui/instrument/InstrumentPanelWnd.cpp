#include "InstrumentPanelWnd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <algorithm>

#include "ImageButton.h"
#include "InstrumentEditor.h"
#include "InstrumentItemPainter.h"
#include "InstrumentListBodyWnd.h"
#include "InstrumentListGeometry.h"
#include "InstrumentPrompts.h"
#include "ModuleFiles.h"
#include "PlaybackController.h"
#include "RixConstants.h"
#include "SongEditor.h"
#include "SpinWnd.h"
#include "Theme.h"
#include "nexilon/Exceptions.h"

namespace rix {

namespace {

// The "from" ids run in channel order except that channels 3 and 4 swapped
// theirs.
constexpr int kCopyFromIds[RIX_CHANNELS] = {32792, 32793, 32795, 32794, 32796, 32797, 32798, 32799};
constexpr int kCopyToFirstId = 32800;
// The note "Play" sounds: C in octave 5.
constexpr uint32_t kPreviewNote = 61;

} // namespace

int CInstrumentPanelWnd::CopyFromCommand(int32_t channel)
{
    return channel >= 0 && channel < RIX_CHANNELS ? kCopyFromIds[channel] : 0;
}

int CInstrumentPanelWnd::CopyToCommand(int32_t channel)
{
    return kCopyToFirstId + channel;
}

CInstrumentPanelWnd::CInstrumentPanelWnd(CSongEditor& editor, QWidget* parent)
    : CMessageWidget(parent), editor(editor), controller(editor.Controller()), channel(controller.GetCurrentChannel())
{
    spin = new CSpinWnd(this);
    spin->setObjectName(QStringLiteral("Channel spin"));
    spin->setAccessibleName(QStringLiteral("Channel spin"));
    spin->setToolTip(QStringLiteral("The next or the previous channel"));
    // "Add" and "New" say what they add and delete in the subclass.
    connect(AddToolButton(QStringLiteral("Add"), {}, 317, 318), &CImageButton::clicked, this, [this] { OnAdd(); });
    connect(AddToolButton(QStringLiteral("New"), {}, 323, 324), &CImageButton::clicked, this, [this] { OnNew(); });
    loadButton = AddToolButton(QStringLiteral("Load"), QStringLiteral("Load an instrument file or a preset"), 321, 322);
    connect(loadButton, &CImageButton::clicked, this, [this] { OnLoadButton(); });
    connect(AddToolButton(QStringLiteral("Save"), QStringLiteral("Save the channel's instrument to a file"), 319, 320),
            &CImageButton::clicked, this, [this] { SaveInstrumentFile(); });
    copyButton = AddToolButton(QStringLiteral("Copy"), QStringLiteral("Copy the instrument from or to another channel"),
                               325, 326);
    connect(copyButton, &CImageButton::clicked, this, [this] { OnCopyButton(); });
    connect(AddToolButton(QStringLiteral("Play"), QStringLiteral("Play C-5 on the channel's instrument"), 328, 329),
            &CImageButton::clicked, this, [this] { PlayPreview(); });
    controller.AddListener(this);
}

CInstrumentPanelWnd::~CInstrumentPanelWnd()
{
    controller.RemoveListener(this);
}

CInstrumentEditor& CInstrumentPanelWnd::Editor() const
{
    return editor.Instruments();
}

CImageButton* CInstrumentPanelWnd::AddToolButton(const QString& text, const QString& tip, int normalBitmapId,
                                                 int pressedBitmapId)
{
    auto* button = new CImageButton(text, normalBitmapId, pressedBitmapId, this);
    button->setToolTip(tip);
    toolButtons.push_back(button);
    LayoutChildren();
    return button;
}

void CInstrumentPanelWnd::SetBody(CInstrumentListBodyWnd* newBody)
{
    body = newBody;
    LayoutChildren();
    body->ShowChannel(channel);
}

int CInstrumentPanelWnd::BodyTop() const
{
    return PANEL_TOOL_ROW_HEIGHT;
}

void CInstrumentPanelWnd::LayoutChildren()
{
    spin->setGeometry(86, 3, CSpinWnd::WIDTH, CSpinWnd::HEIGHT);
    // Right-aligned, the last one 2 px from the edge.
    const int count = static_cast<int>(toolButtons.size());
    for (int i = 0; i < count; ++i)
        toolButtons[i]->setGeometry(width() - (count - i) * PANEL_BUTTON_STEP, 2, PANEL_BUTTON_SIZE,
                                    PANEL_BUTTON_SIZE);
    if (body)
        body->setGeometry(0, BodyTop(), width(), std::max(0, height() - BodyTop()));
}

void CInstrumentPanelWnd::resizeEvent(QResizeEvent*)
{
    LayoutChildren();
}

void CInstrumentPanelWnd::paintEvent(QPaintEvent*)
{
    const CTheme& theme = CTheme::Get();
    QPainter painter(this);
    painter.fillRect(rect(), theme.Brush(8));
    DrawItemLabel(painter, 8, 3, QStringLiteral("Channel:"));
    DrawItemValue(painter, 62, 3, QString::number(channel + 1));
}

intptr_t CInstrumentPanelWnd::OnMessage(uint32_t message, uintptr_t, intptr_t lParam)
{
    if (lParam != reinterpret_cast<intptr_t>(spin))
        return 0;
    if (message == MSG_SPIN_UP && channel < RIX_CHANNELS - 1)
        controller.SelectChannel(channel + 1);
    else if (message == MSG_SPIN_DOWN && channel > 0)
        controller.SelectChannel(channel - 1);
    return 0;
}

void CInstrumentPanelWnd::ShowChannel(int32_t newChannel)
{
    channel = std::clamp(newChannel, 0, RIX_CHANNELS - 1);
    if (body)
        body->ShowChannel(channel);
    update();
}

void CInstrumentPanelWnd::OnSongChanged(const TSongChange& change)
{
    if (change.Names(SONG_INSTRUMENT, channel) && body)
        body->Refresh();
}

QAction* CInstrumentPanelWnd::PopupBelow(QMenu& menu, QWidget* button)
{
    return CInstrumentPrompts::Get().Popup(menu, button->mapToGlobal(QPoint(0, button->height())));
}

void CInstrumentPanelWnd::OnCopyButton()
{
    QMenu menu(this);
    for (int32_t n = 0; n < RIX_CHANNELS; ++n)
        menu.addAction(QStringLiteral("Copy from channel %1").arg(n + 1))->setData(CopyFromCommand(n));
    menu.addSeparator();
    for (int32_t n = 0; n < RIX_CHANNELS; ++n)
        menu.addAction(QStringLiteral("Copy to channel %1").arg(n + 1))->setData(CopyToCommand(n));
    if (QAction* chosen = PopupBelow(menu, copyButton))
        OnCopyCommand(chosen->data().toInt());
}

void CInstrumentPanelWnd::OnCopyCommand(int id)
{
    const int* from = std::find(std::begin(kCopyFromIds), std::end(kCopyFromIds), id);
    if (from != std::end(kCopyFromIds))
        Editor().CopyInstrument(static_cast<int32_t>(from - std::begin(kCopyFromIds)), channel);
    else if (id >= kCopyToFirstId && id < kCopyToFirstId + RIX_CHANNELS)
        Editor().CopyInstrument(channel, id - kCopyToFirstId);
}

QStringList CInstrumentPanelWnd::PresetFolders()
{
    QStringList folders{QCoreApplication::applicationDirPath() + QStringLiteral("/../share/sonrix3/presets")};
#ifdef SONRIX_PRESETS_SOURCE_DIR
    folders << QStringLiteral(SONRIX_PRESETS_SOURCE_DIR);
#endif
    return folders;
}

void CInstrumentPanelWnd::OnLoadButton()
{
    QMenu menu(this);
    QAction* fromFile = menu.addAction(QStringLiteral("Open instrument file..."));
    QMenu* presets = menu.addMenu(QStringLiteral("Presets"));
    // The installed presets, else those of the source tree (a build run
    // from its folder).
    for (const QString& folder : PresetFolders()) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.sonrixi")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files)
            presets->addAction(file.completeBaseName())->setData(file.absoluteFilePath());
        if (!files.isEmpty())
            break;
    }
    presets->setEnabled(!presets->isEmpty());
    QAction* chosen = PopupBelow(menu, loadButton);
    if (chosen == fromFile)
        LoadInstrumentFile();
    else if (chosen)
        LoadInstrumentFrom(chosen->data().toString());
}

void CInstrumentPanelWnd::LoadInstrumentFile()
{
    const QString path = CInstrumentPrompts::Get().OpenInstrumentPath(this);
    if (!path.isEmpty())
        LoadInstrumentFrom(path);
}

void CInstrumentPanelWnd::LoadInstrumentFrom(const QString& path)
{
    try {
        CRixModuleChannel instrument = Editor().ReadChannel(channel);
        // Into a copy, so that the loaded instrument is one undoable change
        // and a broken file changes nothing.
        rix::ReadInstrumentFile(QFile::encodeName(path).toStdString(), instrument);
        Editor().LoadInstrument(channel, instrument);
    } catch (const nexilon::CException&) {
        CInstrumentPrompts::Get().ShowError(this, QStringLiteral("Failed to load instrument!"));
    }
}

void CInstrumentPanelWnd::SaveInstrumentFile()
{
    const QString path = CInstrumentPrompts::Get().SaveInstrumentPath(this);
    if (path.isEmpty())
        return;
    try {
        rix::SaveInstrumentFile(QFile::encodeName(path).toStdString(), controller.GetSongModule(), channel);
    } catch (const nexilon::CException& error) {
        CInstrumentPrompts::Get().ShowError(
            this, QStringLiteral("Failed to save instrument!\n%1").arg(QString::fromStdString(error.GetMessage())));
    }
}

void CInstrumentPanelWnd::PlayPreview()
{
    controller.PreviewNote(channel, kPreviewNote);
}

} // namespace rix
