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
    short block[4096];
    for (unsigned int done = 0; done < samples;) {
        const unsigned int count = samples - done < 4096u ? samples - done : 4096u;
        RixReplayRender(block, count);
        for (unsigned int k = 0; k < count; ++k)
            PutLittleEndian(file, (unsigned short)block[k], 2);
        done += count;
    }
    if (fclose(file) != 0) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
