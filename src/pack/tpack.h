// The data pack appended to the executable: its reader, entry lookup and debug log.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/win32.h"

// Length of the appended pack; the build defines it from the pack it appends (TPACK_SIZE).
extern int32_t TpackSize;

// The layout on disk, little-endian, written by tpack_write.cpp and read by tpack.cpp: a
// header, then one directory entry per file, then the files' data back to back.
#define PACK_SIGNATURE "Tarn Packer"
enum {
    PACK_HEADER_BYTES = 20,  // signature (12, NUL included), entry count @12, data size @16
    PACK_ENTRY_BYTES = 28,   // name (20, NUL padded), size @20, compressed flag @24, 3 reserved
    PACK_NAME_BYTES = 20,
    PACK_COUNT_AT = 12,
    PACK_DATA_SIZE_AT = 16,
    PACK_ENTRY_SIZE_AT = 20,
    PACK_ENTRY_FLAG_AT = 24,
};

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

// Whether `file` holds `size` bytes from `offset` on. An entry's size is the file's word, so
// whoever copies an entry asks this before allocating for it. The stream's position is kept.
bool PackFileHolds(FILE* file, int64_t offset, int64_t size);
