#pragma once

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "nexilon/AudioDevice.h"

// Sends everything the audio devices play to a file through SDL's "disk"
// driver. The driver is picked when the first device of the process opens,
// so create the capture before any device; every device opened while it
// lives writes to its file (open one device at a time).
class CDiskAudioCapture {
public:
    explicit CDiskAudioCapture(const std::string& name)
        : path(std::filesystem::temp_directory_path() /
               ("sonrix-capture-" + std::to_string(::getpid()) + "-" + name + ".raw"))
    {
        ::setenv("SONRIX_AUDIO_DRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    }
    ~CDiskAudioCapture()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

    // The samples written so far (the device's native 16-bit order);
    // complete once the device is closed.
    std::vector<int16_t> Samples() const
    {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::vector<int16_t> samples(bytes.size() / 2);
        std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<char*>(samples.data()));
        return samples;
    }

private:
    std::filesystem::path path;
};

// What remains of a recording once the silence before and after it is cut away.
inline std::vector<int16_t> TrimSilence(const std::vector<int16_t>& samples)
{
    const auto sounding = [](int16_t sample) { return sample != 0; };
    const auto first = std::find_if(samples.begin(), samples.end(), sounding);
    const auto end = std::find_if(samples.rbegin(), samples.rend(), sounding).base();
    return first < end ? std::vector<int16_t>(first, end) : std::vector<int16_t>();
}

// The recording with the gaps the device reports as underruns cut out (a
// render thread starved on a loaded machine leaves one, then the sound
// resumes where it was). Every other silence stays, so a sample lost,
// repeated or moved, or a gap the device did not count, still shows.
inline std::vector<int16_t> WithoutUnderruns(const std::vector<int16_t>& samples,
                                             const std::vector<nexilon::TUnderrun>& underruns)
{
    std::vector<int16_t> kept;
    int64_t from = 0;
    for (const nexilon::TUnderrun& gap : underruns) {
        const int64_t begin = std::clamp<int64_t>(gap.frame, from, static_cast<int64_t>(samples.size()));
        kept.insert(kept.end(), samples.begin() + from, samples.begin() + begin);
        from = std::min<int64_t>(begin + gap.frames, static_cast<int64_t>(samples.size()));
    }
    kept.insert(kept.end(), samples.begin() + from, samples.end());
    return kept;
}

// True when run, silence inside it included, lies in samples as one
// contiguous stretch.
inline bool HoldsAsOneRun(const std::vector<int16_t>& samples, const std::vector<int16_t>& run)
{
    return !run.empty() && std::search(samples.begin(), samples.end(), run.begin(), run.end()) != samples.end();
}

// Polls until the condition holds or the time is up; true when it held.
inline bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
