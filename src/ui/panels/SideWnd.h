#pragma once

#include <QWidget>

namespace rix {

class CSongEditor;

// The side panel (370 × 550 at the least): two tabs, "Oscillators" and
// "Effects", above the oscillator list and the effect list of the current
// channel; a click on a tab shows its list and hides the other. Wide
// enough for both (a larger window), it shows the two lists side by side,
// each under its own tab. UI thread only.
class CSideWnd : public QWidget {
    Q_OBJECT
public:
    enum TTab { TAB_OSCILLATORS = 0, TAB_EFFECTS = 1 };
    static constexpr int TAB_HEIGHT = 20;
    // The width from which both lists show.
    static constexpr int BOTH_LISTS_WIDTH = 750;

    CSideWnd(CSongEditor& editor, QWidget* parent);

    TTab GetSelectedTab() const { return selectedTab; }
    void SelectTab(TTab tab);
    bool ShowsBothLists() const { return width() >= BOTH_LISTS_WIDTH; }
    QWidget& OscillatorList() const { return *oscillatorList; }
    QWidget& EffectList() const { return *effectList; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places and shows the lists for the width and the selected tab.
    void LayOut();
    // A tab at x, selected or not, and the frame around the list below it.
    void PaintTab(QPainter& painter, int x, int listWidth, TTab tab, bool selected) const;

    TTab selectedTab = TAB_OSCILLATORS;
    QWidget* oscillatorList;
    QWidget* effectList;
};

} // namespace rix
