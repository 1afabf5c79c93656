// The data pack appended to the executable: locating it, looking entries up by name, and
// the debug log that builds with TPACK_DEBUG write to "pdebug.log".
//
// The pack is found only through its length: it occupies the last TpackSize bytes of the
// executable. Every byte read from it is untrusted; offsets stay 32-bit like the format.
#include "pack/tpack.h"
#include <climits>
#include <cstdarg>
#include <cstring>
#include "base/le.h"

PackFileRecord PackFile = {};

static const char PackSignature[] = PACK_SIGNATURE;
#define PACK_SEPARATOR " ====================================================="
static_assert(sizeof(PACK_SEPARATOR) == 1 + 53 + 1, "one blank and 53 '='");
static_assert(sizeof(PackHeader) == PACK_HEADER_BYTES, "header layout");
static_assert(sizeof(PackEntry) == PACK_ENTRY_BYTES, "entry layout");

static const char ExeOpenCaption[] = "TPACK_ExeOpen() Error";
static const char FindCaption[] = "TPACK_Find()";

#ifdef TPACK_DEBUG
static struct {
    FILE* logFile;
    uint8_t logActive;
} PackLog;
#endif

// --- Debug log ---------------------------------------------------------------------------

void TPACK_Log(const char* text) {
#ifdef TPACK_DEBUG
    if (!text || !PackLog.logActive) return;
    fputs(text, PackLog.logFile);
    fputc('\n', PackLog.logFile);
    fflush(PackLog.logFile);  // keep the log complete if the program dies later
#else
    (void)text;
#endif
}

// The four informational lines of TPACK_ExeOpen carry their own line feed, so they are
// formatted straight into the file rather than through TPACK_Log.
#ifdef TPACK_DEBUG
__attribute__((format(printf, 1, 2))) static void LogDirect(const char* format, ...) {
    if (!PackLog.logActive) return;
    va_list args;
    va_start(args, format);
    vfprintf(PackLog.logFile, format, args);
    va_end(args);
    fflush(PackLog.logFile);
}
#else
static void LogDirect(const char*, ...) {}
#endif

#ifdef TPACK_DEBUG
static void LogClose() {
    if (PackLog.logActive) {
        TPACK_Log("\n" PACK_SEPARATOR);
        TPACK_Log(" Session closed.");
    }
    PackLog.logActive = 0;
    if (PackLog.logFile) fclose(PackLog.logFile);
    PackLog.logFile = nullptr;
}

static void LogCreate(HWND owner) {
    LogClose();  // a log left by an earlier open
    PackLog.logFile = fopen("pdebug.log", "w+");
    if (!PackLog.logFile) {
        MessageBoxA(owner, "Unable to create debug file, skipping...", "TPACK: Warning",
                    MB_ICONWARNING);
        return;
    }
    PackLog.logActive = 1;
    TPACK_Log(PACK_SEPARATOR);
    TPACK_Log("  TPACK - pack reader debug log");
    TPACK_Log("  Vernalis demo, data pack appended to the executable");
    TPACK_Log("  https://vernalis.example.org/");
    TPACK_Log(PACK_SEPARATOR);
}
#endif

// --- Reading the pack --------------------------------------------------------------------

// Reads the 20-byte header at the stream's position; false on a short read.
static bool ReadHeader(FILE* file, PackHeader* header) {
    uint8_t bytes[PACK_HEADER_BYTES];
    if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return false;
    memcpy(header->signature, bytes, sizeof header->signature);
    header->entryCount = (int32_t)GetLe32(bytes + PACK_COUNT_AT);
    header->dataSize = GetLe32(bytes + PACK_DATA_SIZE_AT);
    return true;
}

// Reads the next 28-byte directory entry; false on a short read.
static bool ReadEntry(FILE* file, PackEntry* entry) {
    uint8_t bytes[PACK_ENTRY_BYTES];
    if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return false;
    memcpy(entry->name, bytes, sizeof entry->name);
    entry->size = (int32_t)GetLe32(bytes + PACK_ENTRY_SIZE_AT);
    entry->compressed = bytes[PACK_ENTRY_FLAG_AT];
    memcpy(entry->reserved, bytes + PACK_ENTRY_FLAG_AT + 1, sizeof entry->reserved);
    return true;
}

// A name field without its terminator is no valid name and matches nothing; no byte
// outside the field is compared.
static bool NameMatches(const char (&field)[PACK_NAME_BYTES], const char* name) {
    if (!memchr(field, '\0', sizeof field)) return false;
    return strcmp(field, name) == 0;
}

static void DropStream() {
    if (PackFile.file) fclose(PackFile.file);
    PackFile.file = nullptr;
}

// --- Open and close ----------------------------------------------------------------------

static BOOL ExeOpenFail(HWND owner, const char* logLine, const char* text) {
    TPACK_Log(logLine);
    MessageBoxA(owner, text, ExeOpenCaption, MB_ICONERROR);
    return FALSE;
}

BOOL TPACK_ExeOpen(HWND owner) {
    char path[1024];
    GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path);
    LogDirect(" Loading archive TPK from: %s\n", path);

    DropStream();  // a stream left open by an earlier failed open
    PackFile.file = fopen(path, "rb");
    if (!PackFile.file)
        return ExeOpenFail(owner, " Error: Unable to open file!", "Unable to open EXE to read!");
    if (TpackSize == 0) {
        MessageBoxA(owner, " Error findind pack in exe...\n Pack file size not set correctly!",
                    ExeOpenCaption, MB_ICONERROR);
        return FALSE;
    }

    // Offsets are 32-bit: a file longer than that has no usable length.
    long length = fseek(PackFile.file, 0, SEEK_END) == 0 ? ftell(PackFile.file) : -1;
    if (length <= 0 || length > INT32_MAX)
        return ExeOpenFail(owner, " Error: Exe size not found!",
                           " Error finding pack in exe...\n Exe size not found!");

    int64_t base = (int64_t)length - TpackSize;
    LogDirect(" Exe size: %ld bytes\n", length);
    // A file shorter than the pack puts the base before its start: nothing to read there.
    bool placed = base >= 0 && base <= INT32_MAX && fseek(PackFile.file, (long)base, SEEK_SET) == 0;
    LogDirect(" Pack file at: %ld (%ld Bytes)\n", (long)base, (long)TpackSize);
    if (base >= INT32_MIN && base <= INT32_MAX) PackFile.base = (int32_t)base;

    PackHeader header;
    if (!placed || !ReadHeader(PackFile.file, &header))
        return ExeOpenFail(owner, " Error: Unable to read package ID!",
                           " Unable to read package ID!\n Package is corrupt?...");
    LogDirect(" Pack ID: '%.12s' Files: %ld\n", header.signature, (long)header.entryCount);
    if (strncmp(header.signature, PackSignature, sizeof header.signature) != 0)
        return ExeOpenFail(owner, " Error: Pack ID invalid!", "Pack ID invalid!");

    TPACK_Log(" Tarn Packer is a good signature! ;)");
    TPACK_Log(" Unpacker ready for loading!\n");
    TPACK_Log(PACK_SEPARATOR);
    return TRUE;
}

BOOL TPACK_Open(HWND owner, uint8_t mode) {
    PackFile.isOpen = 0;
    PackFile.owner = owner;
#ifdef TPACK_DEBUG
    LogCreate(owner);
#endif
    if (mode == 0) {
        if (!TPACK_ExeOpen(owner)) return FALSE;
        PackFile.isOpen = 1;
        return TRUE;
    }
    if (mode == 1) {
        DropStream();  // no file in this mode; never leave an older stream to be read
        PackFile.isOpen = 1;
        return TRUE;
    }
    TPACK_Log(" Error: Bad argument!");
    MessageBoxA(owner, "Pack mode not valid!", "TPACK Error", MB_ICONERROR);
    return FALSE;
}

// Clearing isOpen makes a later find report that the pack is not open.
void TPACK_Close() {
#ifdef TPACK_DEBUG
    LogClose();
#endif
    DropStream();
    PackFile.isOpen = 0;
}

// --- Lookup ------------------------------------------------------------------------------

// Formats the failure into the find's text buffer, logs it and shows it.
__attribute__((format(printf, 5, 6))) static BOOL FindFail(char (&text)[1024], const char* caption,
                                                           UINT type, HWND owner,
                                                           const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    TPACK_Log(text);
    MessageBoxA(owner, text, caption, type);
    return FALSE;
}

// An entry whose data would start inside the directory or end beyond 32-bit offsets cannot
// be handed to a loader.
static bool EntryUsable(int64_t runningTotal, int64_t offset, int32_t size) {
    return runningTotal >= 0 && size >= 0 && offset + size <= INT32_MAX;
}

BOOL TPACK_Find(const char* name) {
    if (!PackFile.isOpen) {
        MessageBoxA(nullptr,
                    "Error finding file.\n TPACK_Open() must be called BEFORE this function!",
                    "TPACK_Find() Error", MB_ICONWARNING | MB_SYSTEMMODAL);
        return FALSE;
    }
    if (!name) name = "";
    char text[1024];
    HWND owner = PackFile.owner;

    // The directory is read afresh on every call. An open without a file (mode 1) has no
    // header to read.
    PackHeader header;
    if (!PackFile.file || fseek(PackFile.file, PackFile.base, SEEK_SET) != 0 ||
        !ReadHeader(PackFile.file, &header))
        return FindFail(text, FindCaption, MB_ICONERROR, owner,
                        " FIND %s: Error reading main header for skipping!", name);
    snprintf(text, sizeof text, " Searching %s...", name);
    TPACK_Log(text);

    int64_t dataStart =
        (int64_t)PackFile.base + PACK_HEADER_BYTES + (int64_t)PACK_ENTRY_BYTES * header.entryCount;
    int64_t runningTotal = 0;
    for (int32_t i = 0; i < header.entryCount; i++) {
        PackEntry entry;
        bool read = ReadEntry(PackFile.file, &entry);
        if (read && !NameMatches(entry.name, name)) {
            runningTotal += entry.size;
            continue;
        }
        int64_t offset = dataStart + runningTotal;
        if (!read || !EntryUsable(runningTotal, offset, entry.size))
            return FindFail(text, FindCaption, MB_ICONERROR, owner,
                            " Error reading sub header for %s at %ld (Total files: %ld)", name,
                            (long)i, (long)header.entryCount);
        snprintf(text, sizeof text,
                 entry.compressed ? " %s found at %ld (%ld Bytes - Compressed)"
                                  : " %s found at %ld (%ld Bytes - Uncompressed)",
                 name, (long)offset, (long)entry.size);
        TPACK_Log(text);
        PackFile.entryOffset = (int32_t)offset;
        PackFile.entrySize = entry.size;
        return TRUE;
    }
    return FindFail(text, "Loader Error", MB_ICONERROR | MB_SYSTEMMODAL, owner,
                    " Error: %s not found in package!", name);
}

bool PackFileHolds(FILE* file, int64_t offset, int64_t size) {
    if (!file || offset < 0 || size < 0) return false;
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return false;
    long length = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0 || length < 0) return false;
    return offset <= (int64_t)length && size <= (int64_t)length - offset;
}
