#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "MessageWidget.h"

class QMenu;

namespace rix {

class CImageButton;
class CInstrumentEditor;
class CInstrumentListBodyWnd;
class CPlaybackController;
class CSongEditor;
class CSpinWnd;

// What the oscillator and effect panels share: the tool row with
// "Channel:", its spin and the buttons Add, New, Load, Save, Copy and Play,
// the instrument file commands, the "Copy" menu and the list body below.
// The panel follows the controller's current channel and shows the
// channel's instrument again whenever the song's copy of it changes (an
// edit, an undo, a load, a preset). UI thread only.
class CInstrumentPanelWnd : public CMessageWidget {
    Q_OBJECT
public:
    // Command ids of the "Copy" menu: from channel n and to channel n.
    static int CopyFromCommand(int32_t channel);
    static int CopyToCommand(int32_t channel);

    CInstrumentPanelWnd(CSongEditor& editor, QWidget* parent);
    ~CInstrumentPanelWnd() override;

    int32_t Channel() const { return channel; }
    CInstrumentEditor& Editor() const;

    // The commands of the tool row and its menus.
    void OnCopyCommand(int id);
    void LoadInstrumentFile();
    void LoadInstrumentFrom(const QString& path);
    void SaveInstrumentFile();
    void PlayPreview();

    // The presets offered under "Load > Presets", by name.
    static QStringList PresetFolders();

    void ShowChannel(int32_t channel);
    void SetChannelCursor(int32_t channel) override { ShowChannel(channel); }
    void OnSongChanged(const TSongChange& change) override;

protected:
    // Makes the tool row; subclasses add their buttons after these six and
    // then call SetBody.
    void SetBody(CInstrumentListBodyWnd* body);
    CImageButton* AddToolButton(const QString& text, const QString& tip, int normalBitmapId, int pressedBitmapId);
    // Where the list starts; the oscillator panel moves it down while its
    // transpose row is shown.
    virtual int BodyTop() const;
    void LayoutChildren();
    // Runs a menu just below a tool button.
    QAction* PopupBelow(QMenu& menu, QWidget* button);

    // "Add" and "New" differ between the two panels.
    virtual void OnAdd() = 0;
    virtual void OnNew() = 0;

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnLoadButton();
    void OnCopyButton();

    CSongEditor& editor;
    CPlaybackController& controller;
    int32_t channel = 0;
    CSpinWnd* spin = nullptr;
    std::vector<CImageButton*> toolButtons;
    CImageButton* loadButton = nullptr;
    CImageButton* copyButton = nullptr;
    CInstrumentListBodyWnd* body = nullptr;
};

} // namespace rix
