#pragma once

#include <QWidget>

namespace rix {

class CSongEditor;

// The side panel (370 × 550): two tabs, "Oscillators" and "Effects", above
// the oscillator list and the effect list of the current channel; a click
// on a tab shows its list and hides the other. UI thread only.
class CSideWnd : public QWidget {
    Q_OBJECT
public:
    enum TTab { TAB_OSCILLATORS = 0, TAB_EFFECTS = 1 };
    static constexpr int TAB_HEIGHT = 20;

    CSideWnd(CSongEditor& editor, QWidget* parent);

    TTab GetSelectedTab() const { return selectedTab; }
    void SelectTab(TTab tab);
    QWidget& OscillatorList() const { return *oscillatorList; }
    QWidget& EffectList() const { return *effectList; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TTab selectedTab = TAB_OSCILLATORS;
    QWidget* oscillatorList;
    QWidget* effectList;
};

} // namespace rix
