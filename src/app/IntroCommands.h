#pragma once

#include <QIcon>
#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;

namespace rix {

class CExportForm;
class CPlaybackController;
class CRixDoc;
class CSongSizeWnd;

// The commands around the intro the song goes into:
// - File ▸ Export ▸ Exact Tables: the form of the tables that the exports
//   write, the size meter and the Song Size panel measure, Verify checks
//   and the A/B switch plays (CExportForm);
// - File ▸ Export ▸ Verify: the intro's render against the editor's, in a
//   window (CVerifyExportDlg);
// - File ▸ Export ▸ Hear the Intro's Render, also on the toolbar: the A/B
//   switch of playback, with its word in the status bar
//   (CIntroRenderIndicator);
// - View ▸ Song Size: the size panel (CSongSizeWnd) in a dock, whose place
//   and visibility the frame keeps with its own.
// UI thread.
class CIntroCommands : public QObject {
    Q_OBJECT

public:
    struct TActions {
        QAction* exact;
        QAction* verify;
        QAction* hearIntro;
        QAction* songSize;
    };

    // The frame's status bar exists already; actions are the frame's.
    CIntroCommands(QMainWindow& frame, CPlaybackController& controller, CExportForm& form, const CRixDoc& document,
                   const TActions& actions);

    void OnVerify();
    CSongSizeWnd& SongSize() const { return *songSize; }
    QDockWidget& SongSizeDock() const { return *dock; }

    // The A/B switch's toolbar picture: a chip (the routine) with a wave.
    static QIcon HearIntroIcon();

private:
    QMainWindow& frame;
    CPlaybackController& controller;
    CExportForm& form;
    const CRixDoc& document;
    QDockWidget* dock;
    CSongSizeWnd* songSize;
};

} // namespace rix
