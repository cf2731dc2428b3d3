#pragma once

#include "EffectListItemWnd.h"

namespace rix {

class CInPlaceEdit;
class CSpinWnd;

// The item windows of the seven effect types. Each lays out the controls
// of its type on the rows of CEffectListItemWnd.

// "Length:" (param1 in hundredths of a row, a number with a spin of ±1 row
// and an in-place edit on a click) and "Volume:" (param2).
class CDelayEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CDelayEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                        std::size_t index, const TRixEffect& effect);
    // The length edit reports no focus loss to a half-destroyed item.
    ~CDelayEffectItemWnd() override;

    void OpenLengthEdit();
    // Ends an open edit and stores its text.
    void CommitLengthEdit();
    CInPlaceEdit* LengthEdit() const { return lengthEdit; }
    CSpinWnd* LengthSpin() const { return lengthSpin; }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void mousePressEvent(QMouseEvent* event) override;
    void RenderExtras(QPainter& painter) override;

private:
    CSpinWnd* lengthSpin = nullptr;
    CInPlaceEdit* lengthEdit = nullptr;
};

// "Delay envelope:" (envelope1: the delay in samples).
class CFlangeEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CFlangeEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                         std::size_t index, const TRixEffect& effect);
};

// "Freq:" (param1, envelope1).
class CLowPassEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CLowPassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                          std::size_t index, const TRixEffect& effect);
};

// "Freq:" (param1, envelope1).
class CHighPassEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CHighPassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                           std::size_t index, const TRixEffect& effect);
};

// "Cutoff:" (param1, envelope1) and "Amount:" (param2, envelope2).
class CResonanceEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CResonanceEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                            std::size_t index, const TRixEffect& effect);
};

// "Limit:" (param1) and "Vol:" (param2, envelope1).
class COverdriveEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    COverdriveEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                            std::size_t index, const TRixEffect& effect);
};

// Band-pass: "Freq:" (param1, envelope1) and "Width:" (param2, envelope2).
class CBandBassEffectItemWnd : public CEffectListItemWnd {
    Q_OBJECT
public:
    CBandBassEffectItemWnd(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                           std::size_t index, const TRixEffect& effect);
};

// The item of the effect's type, or null for a type without one.
CEffectListItemWnd* CreateEffectItem(CEffectListBodyWnd& body, CSongEditor& editor, int32_t channel,
                                     std::size_t index, const TRixEffect& effect);

} // namespace rix
