#pragma once

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "InstrumentListGeometry.h"
#include "RixModuleChannel.h"

class QScrollBar;

namespace rix {

class CSongEditor;

// One item of an instrument list: the element of the channel's list it
// shows, what kind of item that is (a carrier or a transition oscillator,
// an effect type) and its height in pixels.
struct TListRow {
    std::size_t index = 0;
    int32_t kind = 0;
    int height = 0;
    bool operator==(const TListRow&) const = default;
};

// The scrolling list of item windows under an instrument panel's tool row:
// the items stacked 2 px apart, a vertical scroll bar at the right edge
// (made when first needed) counting units of 10 px. An instrument may hold
// a hundred thousand oscillators, so the list reads the channel once per
// change, and only the items in view have a window: scrolling makes those
// that come into view and deletes those that leave it, except one that
// holds the keyboard focus (an open pitch edit keeps its text). Subclasses
// say which items the channel asks for and make their windows. UI thread
// only.
class CInstrumentListBodyWnd : public QWidget {
    Q_OBJECT
public:
    CInstrumentListBodyWnd(CSongEditor& editor, QWidget* parent);

    int32_t Channel() const { return channel; }
    // Shows the instrument of that channel: a rebuild.
    void ShowChannel(int32_t channel);
    // Re-creates every item window from the module, keeping the scroll
    // position as far as the new content allows. Safe to call from a
    // handler of an item: the old windows are deleted once control is back
    // in the event loop.
    void Rebuild();
    // Shows the channel's instrument as the song holds it now: the item
    // windows re-read their records, or, when the list itself changed, a
    // rebuild.
    void Refresh();

    // The channel's instrument as the list last read it; the item windows
    // read their records from it.
    const CRixModuleChannel& Instrument() const { return instrument; }
    // How many items the list holds, with a window or not.
    std::size_t ItemCount() const { return rows.size(); }
    // The window of the item at a list position; null while it is out of view.
    QWidget* ItemWindow(std::size_t position) const;
    // The item windows there are, in list order.
    std::vector<QWidget*> ItemWindows() const;
    // Scrolls the least that brings the whole item at position into view.
    void ScrollToItem(std::size_t position);
    int ScrollPosition() const;
    void SetScrollPosition(int position);

protected:
    // The items the instrument asks for, in list order.
    virtual std::vector<TListRow> ListRows(const CRixModuleChannel& instrument) const = 0;
    // A window for the item, as a child of this, reading its record from
    // Instrument().
    virtual QWidget* CreateItem(const TListRow& row) = 0;
    // The window re-reads its record from Instrument().
    virtual void ReloadItem(QWidget* item) = 0;

    CSongEditor& Editor() const { return editor; }

    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ReadInstrument();
    // Deletes every item window (later: one of them may be running).
    void DropWindows();
    // Hides a window that left the list and deletes it once no dialog runs.
    void Retire(QWidget* window);
    // Places the windows in view, making those that are missing and
    // deleting those that left it.
    void Layout();
    QScrollBar* ScrollBar();

    CSongEditor& editor;
    int32_t channel = 0;
    CRixModuleChannel instrument;
    std::vector<TListRow> rows;
    CListStack stack;
    // By list position.
    std::map<std::size_t, QWidget*> windows;
    // Windows that left the list while a dialog ran, hidden.
    std::vector<QPointer<QWidget>> retired;
    QScrollBar* scrollBar = nullptr;
    int scrollMaximum = 0;
    // Deleting a window can move the focus, which can commit an edit and
    // come back here; the inner layout is left to the outer one.
    bool layingOut = false;
};

} // namespace rix
