#include "MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include "AboutDlg.h"
#include "AppLook.h"
#include "AudioOutputDlg.h"
#include "Autosave.h"
#include "CommandIds.h"
#include "CommandStates.h"
#include "ExportCommands.h"
#include "ExportForm.h"
#include "ExportSizeIndicator.h"
#include "GridWnd.h"
#include "IntroCommands.h"
#include "KeyList.h"
#include "KeyListDlg.h"
#include "LockKeyIndicators.h"
#include "UnderrunIndicator.h"
#include "MidiInputMenu.h"
#include "PatternWnd.h"
#include "PlaybackController.h"
#include "PlaybackStatus.h"
#include "RixDoc.h"
#include "RixView.h"
#include "SaveFileDialog.h"
#include "SongEditor.h"
#include "ToolbarIcons.h"
#include "UndoCommands.h"
#include "Zoom.h"

namespace rix {

namespace {

const QString kLookKey = QStringLiteral("ApplicationLook");
const QString kGeometryKey = QStringLiteral("MainWindow/Geometry");
const QString kStateKey = QStringLiteral("MainWindow/State");
const QString kFilter = QStringLiteral("sonrix3 Files (*.sonrix)");
const QString kCaption = QStringLiteral("sonrix3");
const QString kToolbarHiddenKey = QStringLiteral("ToolbarHidden");
const QString kFollowPlaybackKey = QStringLiteral("FollowPlayback");
// The Standard toolbar's commands; 0 separates groups.
constexpr int kToolbarLayout[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                                  ID_EDIT_PASTE, 0, ID_FILE_PRINT, ID_APP_ABOUT, 0, ID_HEAR_INTRO};

bool IsSongUrl(const QUrl& url)
{
    return url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".sonrix"), Qt::CaseInsensitive);
}

} // namespace

CMainFrame::CMainFrame(CSongEditor& editor, QWidget* parent)
    : QMainWindow(parent), editor(editor), controller(editor.Controller()), document(new CRixDoc(editor, this)),
      view(new CRixView(editor, this)), autosave(new CAutosave(*document, controller.GetSongModule(), this)),
      exportForm(new CExportForm(this)),
      exports(new CExportCommands(*this, *view, controller.GetSongModule(), *document, *exportForm))
{
    setObjectName(QStringLiteral("MainFrame"));
    setAccessibleName(kCaption);
    setWindowIcon(CToolbarIcons::ProgramIcon());
    applicationLook = QSettings().value(kLookKey, kDefaultApplicationLook).toInt();
    if (!CAppLook::Find(applicationLook))
        applicationLook = kDefaultApplicationLook;
    CAppLook::Apply(applicationLook);

    setCentralWidget(view);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    intro = new CIntroCommands(*this, controller, *exportForm, *document,
                               {Action(ID_EXPORT_EXACT), Action(ID_EXPORT_VERIFY), Action(ID_HEAR_INTRO),
                                Action(ID_VIEW_SONG_SIZE)});
    SetCommandTips();
    CreateEditContextMenu();
    new CUndoCommands(editor, Action(ID_EDIT_UNDO), Action(ID_EDIT_REDO), statusBar(), this);
    const auto button = [this](const char* name) { return view->findChild<QWidget*>(QString::fromLatin1(name)); };
    new CCommandStates(editor, Action(ID_EDIT_CUT), Action(ID_EDIT_COPY), Action(ID_EDIT_PASTE),
                       {{button(CRixView::kPlay.text), button(CRixView::kPlayFromCursor.text),
                         button(CRixView::kPatternPlay.text)},
                        button(CRixView::kStop.text)},
                       this);
    OnFollowPlayback(QSettings().value(kFollowPlaybackKey, true).toBool());
    setDockNestingEnabled(true);
    setAcceptDrops(true);

    connect(document, &CRixDoc::ModifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(document, &CRixDoc::PathChanged, this, &CMainFrame::UpdateTitle);
    connect(document, &CRixDoc::PlaybackFailed, this, &CMainFrame::OnPlaybackFailed);
    controller.SetOutputDevice(CAudioOutputDlg::StoredChoice().toStdString());
    connect(&outputNoteTimer, &QTimer::timeout, this, &CMainFrame::ShowOutputDeviceNote);
    outputNoteTimer.start(1000);
    UpdateTitle();

    resize(930, 700);
    QSettings settings;
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    restoreState(settings.value(kStateKey).toByteArray());
}

CMainFrame::~CMainFrame()
{
    controller.Stop();
}

QAction* CMainFrame::Action(int commandId) const
{
    const auto found = actions.find(commandId);
    return found == actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut)
{
    auto* action = new QAction(text, this);
    action->setProperty("commandId", id);
    action->setObjectName(QString(text).remove(QLatin1Char('&')));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    if (menu)
        menu->addAction(action);
    actions[id] = action;
    return action;
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommand(file, ID_FILE_NEW, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::New));
    AddCommand(file, ID_FILE_OPEN, tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::Open));
    AddCommand(file, ID_FILE_SAVE, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::Save));
    AddCommand(file, ID_FILE_SAVE_AS, tr("Save &As..."));
    file->addSeparator();
    QMenu* exportMenu = file->addMenu(tr("&Export"));
    AddCommand(exportMenu, ID_EXPORT_CPP, tr("&C++"));
    AddCommand(exportMenu, ID_EXPORT_CPP_AS, tr("C++ &As..."));
    AddCommand(exportMenu, ID_EXPORT_WAV, tr("&WAV"));
    AddCommand(exportMenu, ID_EXPORT_WAV_STEMS, tr("WAV, &One File per Channel..."));
    exportMenu->addSeparator();
    AddCommand(exportMenu, ID_EXPORT_EXACT, tr("&Exact Tables"));
    AddCommand(exportMenu, ID_EXPORT_VERIFY, tr("&Verify..."));
    AddCommand(exportMenu, ID_HEAR_INTRO, tr("&Hear the Intro's Render"));
    recentSeparator = file->addSeparator();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* recent = AddCommand(file, ID_FILE_MRU_FILE1 + i, QString());
        connect(recent, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
    }
    file->addSeparator();
    AddCommand(file, ID_APP_EXIT, tr("E&xit"));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    AddCommand(edit, ID_EDIT_UNDO, tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddCommand(edit, ID_EDIT_REDO, tr("&Redo"))
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addSeparator();
    AddCommand(edit, ID_EDIT_CUT, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::Cut));
    AddCommand(edit, ID_EDIT_COPY, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::Copy));
    AddCommand(edit, ID_EDIT_PASTE, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V))->setIcon(
        CToolbarIcons::Icon(CToolbarIcons::Paste));

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    QAction* follow = AddCommand(viewMenu, ID_VIEW_FOLLOW_PLAYBACK, tr("&Follow Playback"), QKeySequence(Qt::Key_ScrollLock));
    follow->setCheckable(true);
    connect(follow, &QAction::toggled, this, &CMainFrame::OnFollowPlayback);
    // Qt takes no lock key for a shortcut (they count as modifiers): the
    // frame runs Scroll Lock itself, the shortcut names it.
    qApp->installEventFilter(this);
    viewMenu->addSeparator();
    QMenu* bars = viewMenu->addMenu(tr("&Toolbars and Docking Windows"));
    bars->setObjectName(QStringLiteral("Toolbars and Docking Windows"));
    AddCommand(bars, ID_VIEW_CUSTOMIZE, tr("Customize..."));
    AddCommand(viewMenu, ID_VIEW_STATUS_BAR, tr("&Status Bar"))->setCheckable(true);
    QMenu* looks = viewMenu->addMenu(tr("&Application Look"));
    lookGroup = new QActionGroup(this);
    int lookCount = 0;
    const CAppLook::TLook* table = CAppLook::Looks(lookCount);
    for (int i = 0; i < lookCount; ++i) {
        QAction* look = AddCommand(looks, table[i].id, QString::fromLatin1(table[i].menuText));
        look->setCheckable(true);
        look->setChecked(table[i].id == applicationLook);
        lookGroup->addAction(look);
        connect(look, &QAction::triggered, this, [this, id = table[i].id] { OnApplicationLook(id); });
    }
    CreateZoomMenu(viewMenu);
    AddCommand(viewMenu, ID_VIEW_SONG_SIZE, tr("So&ng Size"));
    AddCommand(viewMenu, ID_VIEW_AUDIO_OUTPUT, tr("Audio &Output..."));
    connect(Action(ID_VIEW_AUDIO_OUTPUT), &QAction::triggered, this, &CMainFrame::OnAudioOutput);
    viewMenu->addMenu(new CMidiInputMenu(view->findChild<CPatternWnd*>(), viewMenu));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    AddCommand(help, ID_HELP_KEYS, tr("&Keys and Mouse..."));
    connect(Action(ID_HELP_KEYS), &QAction::triggered, this, &CMainFrame::OnKeyList);
    AddCommand(help, ID_APP_ABOUT, tr("&About sonrix3..."))->setIcon(CToolbarIcons::Icon(CToolbarIcons::About));
    AddCommand(nullptr, ID_FILE_PRINT, tr("Print"))->setIcon(CToolbarIcons::Icon(CToolbarIcons::Print));
    // Printing a song has no meaning; the button stays for the familiar row.
    Action(ID_FILE_PRINT)->setEnabled(false);

    connect(Action(ID_FILE_NEW), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(ID_FILE_OPEN), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(ID_FILE_SAVE), &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(Action(ID_FILE_SAVE_AS), &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(Action(ID_EXPORT_CPP), &QAction::triggered, exports, &CExportCommands::OnExportCpp);
    connect(Action(ID_EXPORT_CPP_AS), &QAction::triggered, exports, &CExportCommands::OnExportCppAs);
    connect(Action(ID_EXPORT_WAV), &QAction::triggered, exports, &CExportCommands::OnExportWav);
    connect(Action(ID_EXPORT_WAV_STEMS), &QAction::triggered, exports, &CExportCommands::OnExportWavStems);
    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(ID_EDIT_CUT), &QAction::triggered, view, &CRixView::OnEditCut);
    connect(Action(ID_EDIT_COPY), &QAction::triggered, view, &CRixView::OnEditCopy);
    connect(Action(ID_EDIT_PASTE), &QAction::triggered, view, &CRixView::OnEditPaste);
    connect(Action(ID_VIEW_CUSTOMIZE), &QAction::triggered, this, &CMainFrame::OnCustomize);
    connect(Action(ID_APP_ABOUT), &QAction::triggered, this, &CMainFrame::OnAbout);
    UpdateRecentFileMenu();
}

void CMainFrame::CreateToolBar()
{
    toolBar = addToolBar(tr("Standard"));
    toolBar->setObjectName(QStringLiteral("Standard"));
    toolBar->setAccessibleName(QStringLiteral("Standard"));
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const QVariant& id : QSettings().value(kToolbarHiddenKey).toList())
        hiddenToolbarCommands.insert(id.toInt());
    FillToolBar();
    // Qt's own buttons that show what a too narrow window cuts off.
    if (auto* more = toolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(tr("More buttons"));
        more->setToolTip(tr("The buttons the window is too narrow for"));
    }
    if (auto* more = menuBar()->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"))) {
        more->setAccessibleName(tr("More menus"));
        more->setToolTip(tr("The menus the window is too narrow for"));
    }
    QAction* toggle = toolBar->toggleViewAction();
    toggle->setProperty("commandId", ID_VIEW_TOOLBAR);
    toggle->setText(tr("Standard"));
    actions[ID_VIEW_TOOLBAR] = toggle;
    menuBar()->findChild<QMenu*>(QStringLiteral("Toolbars and Docking Windows"))
        ->insertAction(Action(ID_VIEW_CUSTOMIZE), toggle);
}

void CMainFrame::FillToolBar()
{
    toolBar->clear();
    bool separate = false;
    for (int id : kToolbarLayout) {
        if (id == 0) {
            separate = !toolBar->actions().isEmpty();
            continue;
        }
        if (hiddenToolbarCommands.contains(id))
            continue;
        if (separate)
            toolBar->addSeparator();
        separate = false;
        toolBar->addAction(Action(id));
        if (QWidget* button = toolBar->widgetForAction(Action(id)))
            button->setAccessibleName(Action(id)->objectName());
    }
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("Status bar"));
    new CExportSizeIndicator(controller, *exportForm, statusBar());
    new CUnderrunIndicator(controller, statusBar());
    lockKeys = new CLockKeyIndicators(statusBar());
    playbackStatus = new CPlaybackStatus(controller, *statusBar(), this);
    statusBar()->showMessage(playbackStatus->IdleText());
    // A note that timed out or a menu that closed leaves the idle text
    // ("Ready", or what plays), not an empty pane.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            statusBar()->showMessage(playbackStatus->IdleText());
    });
    QAction* show = Action(ID_VIEW_STATUS_BAR);
    show->setChecked(true);
    connect(show, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

void CMainFrame::SetCommandTips()
{
    for (const auto& [id, action] : actions) {
        const QString name = CKeyList::CommandName(*action);
        const QString keys = CKeyList::CommandKeys(*action);
        if (!name.isEmpty())  // else an unused recent-file entry
            action->setToolTip(keys.isEmpty() ? name : tr("%1 (%2)").arg(name, keys));
    }
}

void CMainFrame::CreateEditContextMenu()
{
    editContextMenu = new QMenu(tr("Edit"), this);
    editContextMenu->setObjectName(QStringLiteral("Edit context menu"));
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        editContextMenu->addAction(Action(id));
    for (CGridWnd* grid : view->findChildren<CGridWnd*>())
        connect(grid, &CGridWnd::EditMenuWanted, this, [this](QPoint at) { editContextMenu->popup(at); });
}

void CMainFrame::OnFollowPlayback(bool follow)
{
    QAction* action = Action(ID_VIEW_FOLLOW_PLAYBACK);
    if (action->isChecked() != follow) {
        action->setChecked(follow);  // comes back here through toggled
        return;
    }
    view->SetFollowPlayback(follow);
    lockKeys->ShowScrollLock(!follow);
    QSettings().setValue(kFollowPlaybackKey, follow);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_ScrollLock &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        Action(ID_VIEW_FOLLOW_PLAYBACK)->toggle();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnKeyList()
{
    if (!keyList) {
        // In the order of the menus.
        QList<QAction*> commands;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& items) {
            for (QAction* item : items)
                if (item->menu())
                    walk(item->menu()->actions());
                else
                    commands << item;
        };
        walk(menuBar()->actions());
        keyList = new CKeyListDlg(this, commands);
    }
    keyList->show();
    keyList->raise();
    keyList->activateWindow();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(document->GetTitle() + QStringLiteral("[*] - ") + kCaption);
    setWindowModified(document->IsModified());
}

void CMainFrame::UpdateRecentFileMenu()
{
    const QStringList& files = recentFiles.Files();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = Action(ID_FILE_MRU_FILE1 + i);
        const bool used = i < files.size();
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
    }
    recentSeparator->setVisible(!files.isEmpty());
}

bool CMainFrame::SaveModified()
{
    if (!document->IsModified())
        return true;
    const auto answer = QMessageBox::question(
        this, kCaption, tr("Save changes to %1?").arg(document->GetTitle()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || OnFileSave();
}

bool CMainFrame::OnFileNew()
{
    if (!SaveModified())
        return false;
    document->OnNewDocument();
    return true;
}

bool CMainFrame::OnFileOpen()
{
    if (!SaveModified())
        return false;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), QString(), kFilter);
    return !path.isEmpty() && OpenAsked(path);
}

bool CMainFrame::OpenFile(const QString& path)
{
    return SaveModified() && OpenAsked(path);
}

bool CMainFrame::OpenAsked(const QString& path)
{
    QString reason;
    if (!document->OnOpenDocument(path, reason)) {
        ShowFileError(tr("open"), path, reason);
        return false;
    }
    recentFiles.Add(path);
    UpdateRecentFileMenu();
    return true;
}

bool CMainFrame::OnFileSave()
{
    if (document->GetPathName().isEmpty())
        return OnFileSaveAs();
    return SaveTo(document->GetPathName());
}

bool CMainFrame::OnFileSaveAs()
{
    const QString path = CSaveFileDialog::Ask(this, tr("Save As"), document->GetPathName(), kFilter,
                                              QStringLiteral("sonrix"));
    return !path.isEmpty() && SaveTo(path);
}

bool CMainFrame::SaveTo(const QString& path)
{
    QString reason;
    if (!document->OnSaveDocument(path, reason)) {
        ShowFileError(tr("save"), path, reason);
        return false;
    }
    recentFiles.Add(path);
    UpdateRecentFileMenu();
    autosave->Discard();
    statusBar()->showMessage(tr("Saved %1").arg(QDir::toNativeSeparators(path)), 5000);
    return true;
}

void CMainFrame::OnRecentFile(int index)
{
    const QStringList& files = recentFiles.Files();
    if (index >= files.size())
        return;
    const QString path = files[index];
    if (!QFileInfo::exists(path)) {
        ShowFileError(tr("open"), path, tr("The file no longer exists."));
        recentFiles.Remove(path);
        UpdateRecentFileMenu();
        return;
    }
    OpenFile(path);
}

void CMainFrame::ShowFileError(const QString& what, const QString& path, const QString& reason)
{
    QMessageBox::critical(this, QStringLiteral("Error"),
                          tr("Could not %1 %2.\n\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

void CMainFrame::OnAudioOutput()
{
    CAudioOutputDlg dialog(this, controller.ListOutputDevices(), controller.GetOutputDevice());
    if (dialog.exec() != QDialog::Accepted)
        return;
    controller.SetOutputDevice(dialog.Choice());
    CAudioOutputDlg::StoreChoice(QString::fromStdString(dialog.Choice()));
}

void CMainFrame::ShowOutputDeviceNote()
{
    // The output is opened at playback; a chosen device that has gone is
    // replaced by the default then, and said once here.
    const QString note = QString::fromStdString(controller.GetOutputDeviceNote());
    if (note != shownOutputNote && !note.isEmpty())
        statusBar()->showMessage(note, 10000);
    shownOutputNote = note;
}

void CMainFrame::OnPlaybackFailed(const QString& reason)
{
    QMessageBox::critical(this, kCaption, tr("Playback stopped.\n\n%1").arg(reason));
}

void CMainFrame::OnApplicationLook(int id)
{
    if (!CAppLook::Apply(id))
        return;
    applicationLook = id;
    if (QAction* look = Action(id))
        look->setChecked(true);
    QSettings().setValue(kLookKey, id);
}

void CMainFrame::OnAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::CreateZoomMenu(QMenu* viewMenu)
{
    QMenu* zoom = viewMenu->addMenu(tr("&Zoom"));
    auto* group = new QActionGroup(this);
    const std::span<const int> choices = CZoom::Choices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const int percent = choices[i];
        QAction* action = AddCommand(zoom, ID_VIEW_ZOOM_FIRST + static_cast<int>(i), tr("%1 %").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == CZoom::Stored());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, percent] { OnZoom(percent); });
    }
}

void CMainFrame::OnZoom(int percent)
{
    CZoom::Store(percent);
    if (percent == CZoom::Running())
        return;
    QMessageBox box(QMessageBox::Question, kCaption,
                    tr("The windows are drawn at %1 % from the next start of sonrix3.").arg(percent),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("Zoom restart"));
    QPushButton* now = box.addButton(tr("Restart Now"), QMessageBox::AcceptRole);
    box.addButton(tr("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(now);
    box.exec();
    if (box.clickedButton() != now || !SaveModified())
        return;
    QStringList arguments;
    if (!document->GetPathName().isEmpty())
        arguments << document->GetPathName();
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments)) {
        QMessageBox::critical(this, kCaption, tr("sonrix3 could not be started again; the zoom applies at the next start."));
        return;
    }
    restarting = true;
    close();
}

void CMainFrame::OnCustomize()
{
    // Which of the toolbar's commands show; kept in the settings.
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Customize"));
    dialog.setObjectName(QStringLiteral("Customize"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Buttons of the Standard toolbar:"), &dialog));
    for (int id : kToolbarLayout) {
        if (id == 0)
            continue;
        auto* box = new QCheckBox(Action(id)->objectName(), &dialog);
        box->setObjectName(Action(id)->objectName());
        box->setAccessibleName(Action(id)->objectName());
        box->setChecked(!hiddenToolbarCommands.contains(id));
        connect(box, &QCheckBox::toggled, this, [this, id](bool shown) {
            if (shown)
                hiddenToolbarCommands.remove(id);
            else
                hiddenToolbarCommands.insert(id);
            QVariantList hidden;
            for (int hiddenId : hiddenToolbarCommands)
                hidden << hiddenId;
            QSettings().setValue(kToolbarHiddenKey, hidden);
            FillToolBar();
        });
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("Close"));
    buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

bool CMainFrame::OfferRecovery()
{
    const QStringList orphans = CAutosave::FindOrphans();
    if (orphans.isEmpty())
        return false;
    const QFileInfo newest(orphans.first());
    const auto answer = QMessageBox::question(
        this, kCaption,
        tr("sonrix3 did not close properly last time. Recover the song autosaved at %1?")
            .arg(QLocale().toString(newest.lastModified(), QLocale::ShortFormat)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    bool recovered = false;
    if (answer == QMessageBox::Yes) {
        QString reason;
        recovered = document->OpenRecovered(newest.absoluteFilePath(), reason);
        if (!recovered)
            ShowFileError(tr("recover"), newest.absoluteFilePath(), reason);
    }
    // Recovered or declined, the song is either in the editor now or was
    // not wanted; the editor's own autosave takes over.
    if (answer == QMessageBox::No || recovered)
        for (const QString& orphan : orphans)
            QFile::remove(orphan);
    return recovered;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!restarting && !SaveModified()) {
        event->ignore();
        return;
    }
    controller.Stop();
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState());
    autosave->Discard();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && IsSongUrl(urls.first()))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !IsSongUrl(urls.first()))
        return;
    event->acceptProposedAction();
    // Not inside the drop handler: the save prompt would run its own event
    // loop while the drag source waits.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

} // namespace rix
