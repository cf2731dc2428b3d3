#pragma once

#include <memory>

#include <QStringList>

namespace rix {

class CMainFrame;
class CPlaybackController;
class CSongEditor;

// The application: starts the framework, the shared objects and the main
// window in a fixed order and takes them down in the reverse one. Needs the
// QApplication to exist already. UI thread.
class CRixApp {
public:
    CRixApp();
    // Runs ExitInstance if InitInstance ran.
    ~CRixApp();
    CRixApp(const CRixApp&) = delete;
    CRixApp& operator=(const CRixApp&) = delete;

    // Start-up: the framework library and the program's classes, the
    // playback controller with the edit layer, the theme, the settings, the main window, then
    // the song given on the command line (arguments without the program's
    // name) and the offer to recover a crashed run's autosave. A file that
    // fails to open is reported and the editor starts with a new song.
    // False when the program cannot start (no audio output at all); the
    // reason has been printed.
    bool InitInstance(const QStringList& arguments);
    // Shutdown: the window, the edit layer, the controller (playback
    // stops), the theme, the framework library.
    void ExitInstance();

    // Null before InitInstance and after ExitInstance.
    static CPlaybackController* Controller();
    CMainFrame* MainFrame() const { return mainFrame.get(); }

private:
    std::unique_ptr<CPlaybackController> controller;
    std::unique_ptr<CSongEditor> editor;
    std::unique_ptr<CMainFrame> mainFrame;
    bool themeCreated = false;
    bool frameworkStarted = false;
};

} // namespace rix
