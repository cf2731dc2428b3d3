#pragma once

#include <map>
#include <memory>

#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QTimer>

#include "RecentFileList.h"

class QAction;
class QActionGroup;
class QMenu;
class QToolBar;

namespace rix {

class CAutosave;
class CExportCommands;
class CExportForm;
class CIntroCommands;
class CKeyListDlg;
class CLockKeyIndicators;
class CPlaybackStatus;
class CPlaybackController;
class CRixDoc;
class CRixView;
class CSongEditor;

// The main window: the menu bar with every command, the "Standard" toolbar,
// the status bar with what plays and the lock-key panes, the Edit context
// menu of the grids, and the one view. It routes the commands: file
// commands to the document, Undo and Redo to the edit layer, the clipboard
// commands to the focused editor, transport and envelope buttons (in the
// view) to the playback controller, the exports to the exporters and the
// looks to itself.
// Every command is a QAction whose "commandId" property holds its id and
// whose tooltip names it with its keys.
// UI thread.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CSongEditor& editor, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CRixDoc& Document() const { return *document; }
    CRixView& View() const { return *view; }
    CAutosave& Autosave() const { return *autosave; }
    // The action of a command id, or null.
    QAction* Action(int commandId) const;
    int ApplicationLook() const { return applicationLook; }

    // The commands, as the menus run them. Those that may replace the song
    // ask first to save a modified one; each returns false when it did not
    // happen (cancelled or failed; a failure has been shown).
    bool OnFileNew();
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Open a given file (command line, drop, recent list), asking first.
    bool OpenFile(const QString& path);
    // Save to a given path without asking for a name.
    bool SaveTo(const QString& path);
    // Asks whether to save a modified song: false when the user cancels or
    // the save failed.
    bool SaveModified();
    void OnApplicationLook(int id);
    // View > Follow Playback (Scroll Lock), kept in the settings.
    void OnFollowPlayback(bool follow);
    // Help > Keys and Mouse.
    void OnKeyList();
    CKeyListDlg* KeyList() const { return keyList; }
    CLockKeyIndicators& LockKeys() const { return *lockKeys; }
    // The Edit context menu (Cut, Copy, Paste) the grids open.
    QMenu& EditContextMenu() const { return *editContextMenu; }
    // Stores the zoom and offers to restart with it (the song is offered
    // for saving first).
    void OnZoom(int percent);
    CExportCommands& Exports() const { return *exports; }
    CIntroCommands& Intro() const { return *intro; }
    // Offers back a song autosaved by a run that crashed; true when one was
    // recovered.
    bool OfferRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Opens path once the current song may be replaced (it was saved or let go).
    bool OpenAsked(const QString& path);
    QAction* AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut = {});
    void CreateMenus();
    void CreateToolBar();
    // The toolbar's buttons without those hidden through Customize.
    void FillToolBar();
    void CreateStatusBar();
    // The commands' tooltips: the name and the keys ("Save (Ctrl+S)").
    void SetCommandTips();
    void CreateEditContextMenu();
    void UpdateRecentFileMenu();
    void UpdateTitle();
    void OnRecentFile(int index);
    void OnAbout();
    void OnAudioOutput();
    void ShowOutputDeviceNote();
    void OnPlaybackFailed(const QString& reason);
    void OnCustomize();
    void CreateZoomMenu(QMenu* viewMenu);
    void ShowFileError(const QString& what, const QString& path, const QString& reason);

    CSongEditor& editor;
    CPlaybackController& controller;
    CRixDoc* document;
    CRixView* view;
    CAutosave* autosave;
    CExportForm* exportForm;
    CExportCommands* exports;
    CIntroCommands* intro = nullptr;
    CRecentFileList recentFiles;
    std::map<int, QAction*> actions;
    QActionGroup* lookGroup = nullptr;
    QToolBar* toolBar = nullptr;
    QAction* recentSeparator = nullptr;
    QMenu* editContextMenu = nullptr;
    CLockKeyIndicators* lockKeys = nullptr;
    CPlaybackStatus* playbackStatus = nullptr;
    CKeyListDlg* keyList = nullptr;
    int applicationLook;
    // Closing for a restart: the song has been offered for saving already.
    bool restarting = false;
    QTimer outputNoteTimer;
    QSet<int> hiddenToolbarCommands;
    QString shownOutputNote;
};

} // namespace rix
