#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EditCursor.h"
#include "EditorNotifier.h"
#include "IMessageTarget.h"
#include "IPlaybackDocument.h"
#include "IRixModule.h"
#include "IntroRenderSwitch.h"
#include "NotePreview.h"
#include "PlaybackThread.h"
#include "nexilon/AudioDevice.h"
#include "nexilon/Ptr.h"

namespace rix {

// The application-wide owner of the song module and the one object the
// editors share: real-time playback (CPlaybackThread), note previews
// (CNotePreview), the editing cursor (CEditCursor) and the windows that
// listen to the cursor, the song and the playback (CEditorNotifier).
//
// Threading: every operation is meant for the UI thread, the one thread
// that edits; the playback thread only posts (IMessageTarget::PostMessage,
// IPlaybackDocument::OnPlaybackFailed). Never call an operation while
// holding a lock of the song module. Needs the framework initialised and
// the module and player classes registered (RegisterModuleClass,
// RegisterPlayerClass); opens the audio output at construction.
class CPlaybackController {
public:
    CPlaybackController();
    // Stops playback and the preview.
    ~CPlaybackController();
    CPlaybackController(const CPlaybackController&) = delete;
    CPlaybackController& operator=(const CPlaybackController&) = delete;

    // The module the document loads into and saves from.
    IRixModule& GetSongModule() const { return *songModule; }

    // A window starts or stops listening, with the posts it wants
    // (TPostInterest bits). Not owned; a window must leave before it dies.
    void AddListener(IMessageTarget* listener, uint32_t postInterests = POSTS_NONE);
    void RemoveListener(IMessageTarget* listener);
    // Tells every listener what an edit changed in the song.
    void AnnounceSongChange(const TSongChange& change);
    // The document the song module marks modified and that hears of failed
    // playbacks, or null. Not owned.
    void RegisterDocument(IPlaybackDocument* document);

    // Plays the song from the cursor's order position (from the start when
    // that is past the song's end) to its end; PlayPatternLoop repeats the
    // cursor's order position until Stop. Both stop a sounding preview and
    // do nothing while a playback runs or is starting.
    void PlaySong();
    void PlayPatternLoop();
    // As PlaySong, from the cursor's row of its order position.
    void PlayFromCursor();
    // Silences the song and the preview and waits for the playback thread's
    // last messages.
    void Stop();
    // Sounds note (1..254; 255 and 0 are stored as they are) on the
    // instrument of channel (0..7, else nothing happens) at the song's
    // tempo for 8 rows.
    void PreviewNote(int32_t channel, uint32_t note);

    // The editing cursor: clamped to 0..7, 0..255 and 0..15; a change moves
    // the editors' cursors.
    void SelectChannel(int32_t channel);
    void SetOrderPosition(int32_t position);
    void SetRow(int32_t row);
    // After New or Open: stops playback, cursor to 0, every listener told
    // that the whole song changed, the document unmodified.
    void ResetEditors();

    // Channel mute switches (channel 0..7), applied at every start of
    // playback and at once to a running or starting one.
    void SetChannelEnabled(int32_t channel, bool enabled);
    bool IsChannelEnabled(int32_t channel) const;

    // The A/B switch: the intro's render of the song heard in place of the
    // editor's while it plays, and how the two compare.
    CIntroRenderSwitch& IntroRender() { return introRender; }

    // The samples being heard now: count samples of channel (0..7, or -1
    // for the mix) ending at the position the listener hears; false and
    // zeros when the song does not play.
    bool CopyHeardOutput(int32_t channel, int32_t* destination, uint32_t count);

    // Dropouts of the song's playback since start-up: device buffers its
    // sound could not fill in time.
    uint64_t GetUnderrunCount() { return playback.GetUnderrunCount(); }

    // The audio outputs to choose from, by name.
    std::vector<std::string> ListOutputDevices();
    // The output (a name of ListOutputDevices, empty for the system's
    // default) used from the next playback or preview on.
    void SetOutputDevice(const std::string& name);
    const std::string& GetOutputDevice() const { return outputName; }
    // Why the output in use is not the chosen one (it is gone, say), for
    // the status bar; empty when it is.
    std::string GetOutputDeviceNote();
    // The output in use, for measurements.
    nexilon::IAudioDevice& GetAudioDevice() const { return *audioDevice; }

    // True once the song's sound has started, until playback ends.
    bool IsPlaying() const { return playback.IsPlaying(); }
    bool IsLoopPattern() const { return playback.IsLoop(); }
    bool IsPreviewPlaying() const { return preview.IsPlaying(); }
    int32_t GetCurrentChannel() const { return cursor.Channel(); }
    int32_t GetCurrentOrder() const { return cursor.Order(); }
    int32_t GetCurrentRow() const { return cursor.Row(); }
    // True from PlaySong or PlayPatternLoop until the playback thread has
    // posted its last message.
    bool IsBusy() const { return playback.IsBusy(); }
    // Waits for the playback thread to end by itself at the song's end (in
    // loop mode it never does).
    void WaitUntilIdle();

private:
    void StartPlayback(bool loop, bool fromCursorRow);
    // Opens the chosen output when it is not the one in use.
    void UseChosenOutput();

    // Counted references and parts, declared so that the sounds go before
    // the output and the modules.
    nexilon::CPtr<nexilon::IAudioDevice> audioDevice;
    nexilon::CPtr<IRixModule> songModule;
    CEditorNotifier notifier;
    // Before the playback: its sounds read a stream of the switch.
    CIntroRenderSwitch introRender;
    CPlaybackThread playback;
    CEditCursor cursor;
    CNotePreview preview;
    std::string outputName;
    // The output audioDevice was opened for.
    std::string openedOutputName;
};

} // namespace rix
