#pragma once

#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "EditStep.h"
#include "ItemHeader.h"
#include "MessageWidget.h"
#include "Offscreen.h"
#include "RixEffect.h"

namespace rix {

class CEffectListBodyWnd;
class CSongEditor;
class CVolumeBarWnd;

// One effect of the chain: its title, the header buttons "Close", "Up",
// "Down" and "Copy", and the controls its type adds (value bars on param1
// or param2 with a readout, envelope buttons on envelope1 or envelope2).
// Each control change is an edit of its one field; a press on a bar or spin
// is one undo step however long it drags or repeats. Draws from an
// off-screen image. UI thread only.
class CEffectListItemWnd : public CMessageWidget {
    Q_OBJECT
public:
    static constexpr int ROW1_TOP = 31;
    static constexpr int ROW2_TOP = 55;

    CEffectListItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel, std::size_t index,
                       const TRixEffect& effect, const QString& title);

    int32_t Type() const { return effect.type; }
    // The record as last read from the module.
    const TRixEffect& Effect() const { return effect; }
    // The bar on param1 or param2, or null.
    CVolumeBarWnd* Bar(int field) const;
    // The label texts of the rows, in order.
    QStringList Labels() const;
    // Writes param1 or param2.
    void SetField(int field, int32_t value, TEditStep step = TEditStep::New);
    void OpenEnvelope(int which);
    // Re-reads the record from the list's copy of the channel and redraws.
    void Reload();

protected:
    // A bar 160 px long on param1 or param2 with its label and readout.
    void AddBar(const QString& label, int labelX, int barX, int top, int field, int readoutX);
    // A label without a bar ("Delay envelope:", "Length:").
    void AddLabel(const QString& label, int x, int top);
    // An envelope button opening envelope1 (which 1) or envelope2 (2).
    void AddEnvelopeButton(int x, int top, int which);
    // Draws what a subclass shows beyond labels, bars and readouts.
    virtual void RenderExtras(QPainter&) {}

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TBar {
        CVolumeBarWnd* bar;
        int field;
        int readoutX;
        int top;
    };
    struct TLabel {
        QString text;
        int x;
        int top;
    };

    int32_t FieldValue(int field) const { return field == 2 ? effect.param2 : effect.param1; }
    void Render();
    // The next header button leftwards from the right edge.
    void AddHeaderButton(const QString& text, const QString& tip, int normalId, int pressedId,
                         void (CEffectListItemWnd::*handler)());
    void OnClose();
    void OnUp();
    void OnDown();
    void OnCopy();

    const CEffectListBodyWnd& body;
    CSongEditor& editor;
    int32_t channel;
    std::size_t index;
    TRixEffect effect;
    QString title;
    std::vector<TBar> bars;
    std::vector<TLabel> labels;
    CItemHeader header;
    QImage offscreen;
    COffscreenKey key;
    bool dirty = true;
};

} // namespace rix
