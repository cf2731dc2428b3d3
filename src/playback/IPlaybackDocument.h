#pragma once

#include <string>

#include "IRixModule.h"

namespace rix {

// The open document as the playback controller sees it: the song module
// marks it modified after every writing unlock (on the unlocking thread),
// and resetting the editors after New or Open makes it unmodified again
// (on the UI thread).
class IPlaybackDocument : public IRixModifiedSink {
public:
    virtual void ClearModified() = 0;
    // A playback ended because the player or the audio output failed;
    // reason is the failure's message. Called on the playback thread: post
    // it to the UI thread and return.
    virtual void OnPlaybackFailed([[maybe_unused]] const std::string& reason) {}

protected:
    ~IPlaybackDocument() = default;
};

} // namespace rix
