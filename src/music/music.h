// Soundtrack playback: starting the audio library, the stream made from the pack entry.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/bass.h"

extern HSTREAM MusicStream;
extern uint8_t* MusicBuffer;

BOOL AudioStart();
BOOL MusicFromPack(FILE* file, int32_t offset, int32_t length);
void AudioErrorBox();
void AudioShutdown();
