#pragma once

#include "IRixModule.h"

namespace rix {

// The open document as the playback controller sees it: the song module
// marks it modified after every writing unlock (on the unlocking thread),
// and resetting the editors after New or Open makes it unmodified again
// (on the UI thread).
class IPlaybackDocument : public IRixModifiedSink {
public:
    virtual void ClearModified() = 0;

protected:
    ~IPlaybackDocument() = default;
};

} // namespace rix
