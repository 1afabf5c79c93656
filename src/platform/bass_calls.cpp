// What every implementation of the nine calls shares (bass.cpp over our decoder and outputs,
// web/bass.cpp over Web Audio): the version, the last error, the fault injected into the next
// call, the checks made before any work, and the bytes of a file stream.
#include <cstdio>
#include "platform/bass_internal.h"

DWORD BassReportedVersion = 0x80000;
static int LastError = BASS_OK;
static int InjectedFault = BASS_OK;

DWORD BASS_GetVersion() { return BassReportedVersion; }
int BASS_ErrorGetCode() { return LastError; }
void BassFailNext(int code) { InjectedFault = code; }

BOOL BassFail(int code) {
    LastError = code;
    return FALSE;
}

BOOL BassSucceed() {
    LastError = BASS_OK;
    return TRUE;
}

void BassForgetErrors() {
    LastError = BASS_OK;
    InjectedFault = BASS_OK;
}

static int TakeInjectedFault() {
    int code = InjectedFault;
    InjectedFault = BASS_OK;
    return code;
}

// Device -1 is the default output, 0 the silent output.
int BassInitCheck(int device, DWORD freq, bool initialised) {
    if (int code = TakeInjectedFault()) return code;
    if (initialised) return BASS_ERROR_ALREADY;
    if (device < -1 || device > 0) return BASS_ERROR_DEVICE;
    if (freq < 8000 || freq > 192000) return BASS_ERROR_FREQ;
    return BASS_OK;
}

int BassCreateCheck(BOOL mem, const void* file, bool initialised, bool streamExists) {
    if (int code = TakeInjectedFault()) return code;
    if (!initialised) return BASS_ERROR_INIT;
    if (streamExists) return BASS_ERROR_NOCHAN;
    if (mem && !file) return BASS_ERROR_ILLPARAM;
    return BASS_OK;
}

int BassPlayCheck(bool initialised, bool validHandle) {
    if (!initialised) return BASS_ERROR_INIT;
    if (PlatformShouldFail("BASS_StreamPlay")) return BASS_ERROR_UNKNOWN;
    if (!validHandle) return BASS_ERROR_HANDLE;
    return BASS_OK;
}

bool BassReadFile(const char* path, DWORD offset, DWORD length, std::vector<uint8_t>* data) {
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) return false;
    if (fseek(file, (long)offset, SEEK_SET) == 0) {
        uint8_t chunk[65536];
        size_t got;
        while ((length == 0 || data->size() < length) &&
               (got = fread(chunk, 1, sizeof chunk, file)) > 0)
            data->insert(data->end(), chunk, chunk + got);
        if (length && data->size() > length) data->resize(length);
    }
    fclose(file);
    return true;
}
