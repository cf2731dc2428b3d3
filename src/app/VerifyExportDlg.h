#pragma once

#include <thread>

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace rix {

class CPlaybackController;

// File ▸ Export ▸ Verify: the song as the intro's replay routine plays it
// from the exported tables (plain or exact, as the musician exports them)
// against the editor's render, every channel and the mix, in the words of
// `sonrix3-cli verify-export`. The verification renders a copy of the
// song twice on a worker thread (about a second per three minutes of a
// heavy song), so editing and playback go on meanwhile; the A/B switch
// lets go of the replay routine for it (CIntroRenderSwitch::Hold). The
// window closes once the report is there. UI thread.
class CVerifyExportDlg : public QDialog {
    Q_OBJECT

public:
    // song names the song in the report's first line.
    CVerifyExportDlg(QWidget* parent, CPlaybackController& controller, const QString& song, bool exact);
    // Waits for a verification under way.
    ~CVerifyExportDlg() override;

    bool IsFinished() const { return finished; }
    QString Report() const;

public slots:
    // Closes only once the report is there.
    void reject() override;

private:
    void ShowReport(const QString& text);

    QLabel* verdict;
    QProgressBar* busy;
    QPlainTextEdit* report;
    QPushButton* closeButton;
    std::thread worker;
    bool finished = false;
};

} // namespace rix
