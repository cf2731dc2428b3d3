// The smallest host of the replay routine: plays an exported song into a
// 16-bit mono 44100 Hz WAV file. An intro does the same from its audio
// callback, minus the file.
//
// From sonrix3's C++ export (File > Export > C++, or
// "sonrix3-cli export-cpp SONG.sonrix RixSongData.cpp"):
//   sed -n '1,/^#endif/p' RixSongData.cpp > RixSongDataDefines.h
//   c++ -Os -Wall -Wextra -I. -I.. main.cpp ../RixReplay.cpp RixSongData.cpp -o example
//   ./example song.wav          one pass through the song
//   ./example song.wav 441000   ten seconds; the routine loops at the song's end
//
// Built with -DRIXREPLAY_ENABLE_SYNC it also prints what an intro's visuals
// would follow, taking the routine's sync once per 60 Hz video frame
// (735 samples): "row SAMPLE ORDER ROW" where a row starts and
// "note SAMPLE CHANNEL NOTE" where a note starts (channel 1..8), then
// "level CHANNEL PEAK" with each channel's loudest sample of the pass.

#include <stdio.h>
#include <stdlib.h>

#include "RixReplay.h"
#include "RixSongDataDefines.h"

namespace {

void PutLittleEndian(FILE* file, unsigned int value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        fputc((int)((value >> (8 * i)) & 0xFF), file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUT.wav [SAMPLES]\n", argv[0]);
        return 2;
    }
    const unsigned int samples = argc > 2 ? (unsigned int)strtoul(argv[2], 0, 10)
                                          : (unsigned int)RIXSONG_LEN * 16u * RIXSONG_ROWLENSAMPLES;
    if (!RixReplayInit()) {
        fprintf(stderr, "the song's echoes need a larger RIXREPLAY_HISTORY_SIZE\n");
        return 1;
    }
    FILE* file = fopen(argv[1], "wb");
    if (!file) {
        perror(argv[1]);
        return 1;
    }
    fputs("RIFF", file);
    PutLittleEndian(file, 36 + samples * 2, 4);
    fputs("WAVEfmt ", file);
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);     // PCM
    PutLittleEndian(file, 1, 2);     // mono
    PutLittleEndian(file, 44100, 4); // samples per second
    PutLittleEndian(file, 88200, 4); // bytes per second
    PutLittleEndian(file, 2, 2);     // bytes per sample
    PutLittleEndian(file, 16, 2);    // bits per sample
    fputs("data", file);
    PutLittleEndian(file, samples * 2, 4);
#ifdef RIXREPLAY_ENABLE_SYNC
    const unsigned int kBlock = 735;
    int lastRow = -1;
    int peak[8] = {0, 0, 0, 0, 0, 0, 0, 0};
#else
    const unsigned int kBlock = 4096;
#endif
    short block[4096];
    for (unsigned int done = 0; done < samples;) {
        const unsigned int count = samples - done < kBlock ? samples - done : kBlock;
        RixReplayRender(block, count);
#ifdef RIXREPLAY_ENABLE_SYNC
        // The frame's rows and notes, each at the sample where it began.
        TRixReplaySync sync;
        RixReplayGetSync(&sync);
        const int absoluteRow = sync.orderPosition * 16 + sync.row;
        if (absoluteRow != lastRow && sync.samples - (unsigned int)sync.sampleInRow >= done)
            printf("row %u %d %d\n", sync.samples - (unsigned int)sync.sampleInRow, sync.orderPosition, sync.row);
        lastRow = absoluteRow;
        for (int c = 0; c < 8; ++c) {
            if (sync.note[c] != 0 && sync.sinceNote[c] <= count)
                printf("note %u %d %d\n", sync.samples - sync.sinceNote[c], c + 1, sync.note[c]);
            if (sync.level[c] > peak[c])
                peak[c] = sync.level[c];
        }
#endif
        for (unsigned int k = 0; k < count; ++k)
            PutLittleEndian(file, (unsigned short)block[k], 2);
        done += count;
    }
#ifdef RIXREPLAY_ENABLE_SYNC
    for (int c = 0; c < 8; ++c)
        printf("level %d %d\n", c + 1, peak[c]);
#endif
    if (fclose(file) != 0) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
