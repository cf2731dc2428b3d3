#pragma once

namespace rix {

// A window that takes Edit > Cut, Copy and Paste while it has the focus
// (the view finds it with dynamic_cast on the focus widget). UI thread.
class IClipboardTarget {
public:
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    // Whether Paste has something to paste.
    virtual bool CanPaste() const = 0;

protected:
    ~IClipboardTarget() = default;
};

} // namespace rix
