// The data pack appended to the executable: its reader, entry lookup and debug log.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/win32.h"

// Length of the appended pack; the build defines it from the pack it appends (TPACK_SIZE).
extern int32_t TpackSize;

struct PackHeader {
    char signature[12];  // "Tarn Packer" and its NUL
    int32_t entryCount;
    uint32_t dataSize;
};

struct PackEntry {
    char name[20];
    int32_t size;
    uint8_t compressed;
    uint8_t reserved[3];
};

struct PackFileRecord {
    uint8_t isOpen;
    HWND owner;
    FILE* file;
    int32_t base;
    int32_t entryOffset;
    int32_t entrySize;
};
extern PackFileRecord PackFile;

BOOL TPACK_Open(HWND owner, uint8_t mode);
BOOL TPACK_ExeOpen(HWND owner);
BOOL TPACK_Find(const char* name);
void TPACK_Close();
void TPACK_Log(const char* text);
