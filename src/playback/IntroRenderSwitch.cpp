#include "IntroRenderSwitch.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "IntroRenderStream.h"
#include "RixConstants.h"
#include "RixModule.h"

namespace rix {

namespace {

using namespace std::chrono_literals;

// How often the worker looks at the playback and the song.
constexpr auto kPollPeriod = 20ms;
// Edits come in runs (typing, a fader drag): the intro render is made anew
// once the song has stayed unchanged this long.
constexpr auto kQuietTime = 300ms;
// A new render is placed this far beyond the editor's next sample (93 ms),
// which the playback reaches while the editor's render still plays.
constexpr uint64_t kLeadSamples = 4096;
// The samples the worker renders between looks at what changed meanwhile.
constexpr uint64_t kPrepareStep = 4096;
// The most the audio path moves a render on to meet the editor's position:
// a few blocks' worth, under 2 ms of work on a heavy song.
constexpr uint64_t kMaxCatchUp = 4096;

} // namespace

CIntroRenderSwitch::CHold::~CHold()
{
    {
        std::lock_guard guard(owner.mutex);
        --owner.holds;
    }
    owner.wake.notify_all();
}

CIntroRenderSwitch::CIntroRenderSwitch(IRixModule& song, std::function<bool()> isPlaying)
    : song(song), isPlaying(std::move(isPlaying)), seenChangeCount(song.GetChangeCount())
{
}

CIntroRenderSwitch::~CIntroRenderSwitch()
{
    Close();
}

void CIntroRenderSwitch::Close()
{
    {
        std::lock_guard guard(mutex);
        quitting = true;
        enabled = false;
    }
    wake.notify_all();
    if (worker.joinable())
        worker.join();
}

nexilon::CPtr<nexilon::IInputStream> CIntroRenderSwitch::CreateStream(IRixModulePlayer& player)
{
    return nexilon::CPtr<nexilon::IInputStream>::Adopt(new CIntroRenderStream(player, *this));
}

void CIntroRenderSwitch::SetEnabled(bool on)
{
    {
        std::lock_guard guard(mutex);
        if (quitting)
            return;
        enabled = on;
        if (on && !worker.joinable())
            worker = std::thread(&CIntroRenderSwitch::Run, this);
    }
    wake.notify_all();
}

void CIntroRenderSwitch::SetExact(bool form)
{
    exact = form;
    wake.notify_all();
}

void CIntroRenderSwitch::SetChannelMuted(int32_t channel, bool muted)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        return;
    const uint32_t bit = 1u << channel;
    if (muted)
        mutedChannels.fetch_or(bit, std::memory_order_relaxed);
    else
        mutedChannels.fetch_and(~bit, std::memory_order_relaxed);
}

TIntroRenderStatus CIntroRenderSwitch::Status() const
{
    TIntroRenderStatus status;
    status.enabled = enabled;
    std::lock_guard guard(mutex);
    status.ready = handedOut && !Stale(*handedOut);
    // Until the worker has caught up with a stop, an edit or a new form,
    // what it last had is not what plays.
    status.heard = heard && status.ready && isPlaying();
    if (comparedChangeCount == song.GetChangeCount() && comparedExact == exact) {
        status.comparedSamples = comparedSamples.load(std::memory_order_relaxed);
        status.worstDifference = worstDifference.load(std::memory_order_relaxed);
        status.worstSample = worstSample.load(std::memory_order_relaxed);
    }
    status.failure = failure;
    return status;
}

std::unique_ptr<CIntroRenderSwitch::CHold> CIntroRenderSwitch::Hold()
{
    std::unique_lock lock(mutex);
    ++holds;
    wake.notify_all();
    wake.wait(lock, [this] { return !renderExists; });
    return std::make_unique<CHold>(*this);
}

void CIntroRenderSwitch::OnEditorBlock(uint64_t first, uint64_t next, unsigned char* bytes, uint32_t count)
{
    const bool contiguous = next == first + count;
    if (first != editorNext.load(std::memory_order_relaxed) || !contiguous)
        editorJumps.fetch_add(1, std::memory_order_relaxed);
    editorNext.store(next, std::memory_order_relaxed);

    CIntroRender* render = slot.exchange(nullptr, std::memory_order_acquire);
    if (!render) {
        heard.store(false, std::memory_order_relaxed);
        return;
    }
    // Only a render of the song as it is now, in the form exported, at the
    // editor's position: after an edit the editor's render plays until the
    // worker has made a new one.
    bool used = false;
    if (contiguous && render->ChangeCount() == song.GetChangeCount() && render->Exact() == exact) {
        // Farther behind (the worker was starved), it is made anew: counted
        // as a jump, which the worker sees.
        if (render->Position() + kMaxCatchUp < first)
            editorJumps.fetch_add(1, std::memory_order_relaxed);
        else if (render->Position() < first)
            render->Skip(first - render->Position());
        used = render->Position() == first;
    }
    const bool on = enabled;
    if (used) {
        const uint32_t muted = mutedChannels.load(std::memory_order_relaxed);
        for (uint32_t done = 0; done < count;) {
            const uint32_t step =
                render->Render(count - done, muted, introSamples.data(), editorSamples.data());
            if (step == 0)
                break;
            Compare(introSamples.data(), editorSamples.data(), step, first + done);
            if (on)
                for (uint32_t k = 0; k < step; ++k) {
                    const auto bits = static_cast<uint16_t>(introSamples[k]);
                    bytes[2 * (done + k)] = static_cast<unsigned char>(bits & 0xFF);
                    bytes[2 * (done + k) + 1] = static_cast<unsigned char>(bits >> 8);
                }
            done += step;
        }
    }
    heard.store(used && on, std::memory_order_relaxed);
    slot.store(render, std::memory_order_release);
}

void CIntroRenderSwitch::Compare(const int16_t* intro, const int16_t* editor, uint32_t count, uint64_t first)
{
    int32_t worst = worstDifference.load(std::memory_order_relaxed);
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t difference = std::abs(static_cast<int32_t>(intro[k]) - editor[k]);
        if (difference > worst) {
            worst = difference;
            worstSample.store(first + k, std::memory_order_relaxed);
        }
    }
    worstDifference.store(worst, std::memory_order_relaxed);
    comparedSamples.fetch_add(count, std::memory_order_relaxed);
}

void CIntroRenderSwitch::ResetComparison()
{
    comparedSamples = 0;
    worstDifference = 0;
    worstSample = 0;
}

void CIntroRenderSwitch::Run()
{
    std::unique_lock lock(mutex);
    while (!quitting) {
        const bool playing = isPlaying();
        stoppedSinceReset = stoppedSinceReset || !playing;
        const bool keep = playing && holds == 0;
        if (handedOut && (!keep || Stale(*handedOut)))
            Reclaim(lock);
        if (!handedOut && keep && enabled)
            Prepare(lock);
        wake.wait_for(lock, kPollPeriod);
    }
    if (handedOut)
        Reclaim(lock);
}

bool CIntroRenderSwitch::Stale(const CIntroRender& render) const
{
    return render.ChangeCount() != song.GetChangeCount() || render.Exact() != exact ||
           editorJumps.load(std::memory_order_relaxed) != handedJumps;
}

void CIntroRenderSwitch::Reclaim(std::unique_lock<std::mutex>& lock)
{
    // The audio path keeps the render only while it renders one block.
    CIntroRender* render = nullptr;
    while ((render = slot.exchange(nullptr, std::memory_order_acquire)) == nullptr) {
        lock.unlock();
        std::this_thread::sleep_for(1ms);
        lock.lock();
    }
    delete render;
    handedOut = nullptr;
    heard = false;
    renderExists = false;
    wake.notify_all();
}

bool CIntroRenderSwitch::Abandoned(uint32_t changeCount, bool form, uint64_t jumps)
{
    return quitting || holds > 0 || song.GetChangeCount() != changeCount || exact != form ||
           editorJumps.load(std::memory_order_relaxed) != jumps || !isPlaying();
}

bool CIntroRenderSwitch::Prepare(std::unique_lock<std::mutex>& lock)
{
    const uint32_t changeCount = song.GetChangeCount();
    const bool form = exact;
    const auto now = std::chrono::steady_clock::now();
    if (changeCount != seenChangeCount) {
        seenChangeCount = changeCount;
        seenChange = now;
    }
    if (now - seenChange < kQuietTime)
        return false;
    if (!failure.empty() && failedChangeCount == changeCount && failedExact == form)
        return false;
    if (stoppedSinceReset || changeCount != comparedChangeCount || form != comparedExact) {
        ResetComparison();
        comparedChangeCount = changeCount;
        comparedExact = form;
        stoppedSinceReset = false;
    }

    const uint64_t jumps = editorJumps.load(std::memory_order_relaxed);
    renderExists = true;
    lock.unlock();
    std::unique_ptr<CIntroRender> render;
    std::string problem;
    try {
        auto copy = std::make_unique<CRixModuleData>();
        {
            CRixModuleLock data(song, nexilon::LOCKMODE_READ);
            *copy = *data;
        }
        render = std::make_unique<CIntroRender>(*copy, form, changeCount);
        for (;;) {
            const uint64_t target = std::min(editorNext.load(std::memory_order_relaxed) + kLeadSamples,
                                             render->SongSamples());
            if (render->Position() >= target)
                break;
            if (Abandoned(changeCount, form, jumps)) {
                render.reset();
                break;
            }
            render->Skip(std::min(target - render->Position(), kPrepareStep));
        }
    } catch (const std::exception& error) {
        render.reset();
        problem = *error.what() ? error.what() : "the intro's routine cannot play the song";
    }
    lock.lock();
    if (!render) {
        if (!problem.empty()) {
            failure = problem;
            failedChangeCount = changeCount;
            failedExact = form;
        }
        renderExists = false;
        wake.notify_all();
        return false;
    }
    failure.clear();
    handedOut = render.release();
    handedJumps = jumps;
    slot.store(handedOut, std::memory_order_release);
    return true;
}

} // namespace rix
