#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

class QScrollBar;

namespace rix {

// The scrolling list of item windows under an instrument panel's tool row:
// the items stacked 2 px apart, a vertical scroll bar at the right edge
// (made when first needed) counting units of 10 px. Subclasses make the
// items of the channel shown and say what kinds of items the song asks for.
// UI thread only.
class CInstrumentListBodyWnd : public QWidget {
    Q_OBJECT
public:
    explicit CInstrumentListBodyWnd(QWidget* parent);

    int32_t Channel() const { return channel; }
    // Shows the instrument of that channel: a rebuild.
    void ShowChannel(int32_t channel);
    // Re-creates every item from the module, keeping the scroll position as
    // far as the new content allows. Safe to call from a handler of an
    // item: the old items are deleted once control is back in the event loop.
    void Rebuild();
    // Shows the channel's instrument as the song holds it now: the items
    // re-read their records, or, when the list itself changed, a rebuild.
    void Refresh();
    // The items in list order.
    const std::vector<QWidget*>& Items() const { return items; }
    int ScrollPosition() const;
    void SetScrollPosition(int position);

protected:
    // Creates the items of the channel, in order, as children of this.
    virtual std::vector<QWidget*> CreateItems() = 0;
    // One value per item the song's channel asks for now, telling the kinds
    // of items apart (a carrier from a transition oscillator, an effect
    // type from another).
    virtual std::vector<int32_t> ItemKinds() const = 0;
    // Each item re-reads its record from the module.
    virtual void ReloadItems() = 0;

    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Layout();
    QScrollBar* ScrollBar();

    int32_t channel = 0;
    std::vector<QWidget*> items;
    std::vector<int32_t> shownKinds;
    QScrollBar* scrollBar = nullptr;
    int scrollMaximum = 0;
};

} // namespace rix
