#include "RixApp.h"

#include <cstdio>

#include <QCoreApplication>
#include <QMessageBox>

#include "IRixModulePlayer.h"
#include "MainFrame.h"
#include "ModuleArchive.h"
#include "PlaybackController.h"
#include "RixDoc.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "Theme.h"
#include "nexilon/Exceptions.h"
#include "nexilon/Nexilon.h"

namespace rix {

namespace {

CPlaybackController* theController = nullptr;

} // namespace

CRixApp::CRixApp() = default;

CRixApp::~CRixApp()
{
    ExitInstance();
}

CPlaybackController* CRixApp::Controller()
{
    return theController;
}

bool CRixApp::InitInstance(const QStringList& arguments)
{
    nexilon::q.Init();
    RegisterModuleClass();
    RegisterPlayerClass();
    RegisterArchiveStreamClasses();
    frameworkStarted = true;

    try {
        controller = std::make_unique<CPlaybackController>();
    } catch (const nexilon::CException& error) {
        std::fprintf(stderr, "sonrix3: %s\n", error.GetMessage().c_str());
        QMessageBox::critical(nullptr, QStringLiteral("sonrix3"), QString::fromStdString(error.GetMessage()));
        return false;
    }
    theController = controller.get();
    editor = std::make_unique<CSongEditor>(*controller);

    CTheme::Create();
    themeCreated = true;

    // Every QSettings of the program is under this company and program.
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrelab"));
    QCoreApplication::setApplicationName(QStringLiteral("sonrix3"));

    mainFrame = std::make_unique<CMainFrame>(*editor);
    QString song;
    for (const QString& argument : arguments)
        if (!argument.startsWith(QLatin1Char('-'))) {
            song = argument;
            break;
        }
    mainFrame->Document().OnNewDocument();
    mainFrame->show();
    if (!song.isEmpty())
        mainFrame->OpenFile(song);
    mainFrame->OfferRecovery();
    return true;
}

void CRixApp::ExitInstance()
{
    mainFrame.reset();
    editor.reset();
    if (controller) {
        theController = nullptr;
        controller.reset();
    }
    if (themeCreated) {
        CTheme::Destroy();
        themeCreated = false;
    }
    if (frameworkStarted) {
        nexilon::q.Close();
        frameworkStarted = false;
    }
}

} // namespace rix
