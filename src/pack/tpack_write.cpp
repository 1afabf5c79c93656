// The pack writer, in the layout that pack/tpack.h describes.
#include "pack/tpack_write.h"
#include <climits>
#include <cstring>
#include "base/le.h"
#include "pack/tpack.h"

int64_t TpackLength(const TpackSource* sources, int32_t count) {
    if (count < 0) return -1;
    int64_t length = PACK_HEADER_BYTES + (int64_t)PACK_ENTRY_BYTES * count;
    for (int32_t i = 0; i < count; i++) {
        if (sources[i].size < 0) return -1;
        length += sources[i].size;
        if (length > INT32_MAX) return -1;  // the reader's offsets are 32-bit
    }
    return length <= INT32_MAX ? length : -1;
}

static bool CheckSources(const TpackSource* sources, int32_t count, char* error, size_t errorSize) {
    if (count < 0) {
        snprintf(error, errorSize, "negative entry count %ld", (long)count);
        return false;
    }
    for (int32_t i = 0; i < count; i++) {
        const TpackSource& source = sources[i];
        size_t nameLength = source.name ? strlen(source.name) : 0;
        if (nameLength == 0 || nameLength >= PACK_NAME_BYTES) {
            snprintf(error, errorSize, "entry %ld: name \"%s\" has %zu characters (1 to %d fit)",
                     (long)i, source.name ? source.name : "", nameLength, PACK_NAME_BYTES - 1);
            return false;
        }
        if (source.size < 0 || (source.size > 0 && !source.data)) {
            snprintf(error, errorSize, "entry \"%s\": invalid size %ld", source.name,
                     (long)source.size);
            return false;
        }
    }
    if (TpackLength(sources, count) < 0) {
        snprintf(error, errorSize, "pack too large: its length must fit a signed 32-bit offset");
        return false;
    }
    return true;
}

static bool WriteDirectory(FILE* out, const TpackSource* sources, int32_t count) {
    uint8_t header[PACK_HEADER_BYTES] = {};
    memcpy(header, PACK_SIGNATURE, sizeof PACK_SIGNATURE);  // with its NUL
    uint32_t dataSize = 0;
    for (int32_t i = 0; i < count; i++) dataSize += (uint32_t)sources[i].size;
    PutLe32(header + PACK_COUNT_AT, (uint32_t)count);
    PutLe32(header + PACK_DATA_SIZE_AT, dataSize);
    if (fwrite(header, 1, sizeof header, out) != sizeof header) return false;
    for (int32_t i = 0; i < count; i++) {
        uint8_t entry[PACK_ENTRY_BYTES] = {};  // name padding and reserved bytes stay zero
        memcpy(entry, sources[i].name, strlen(sources[i].name));
        PutLe32(entry + PACK_ENTRY_SIZE_AT, (uint32_t)sources[i].size);
        entry[PACK_ENTRY_FLAG_AT] = sources[i].compressed;
        if (fwrite(entry, 1, sizeof entry, out) != sizeof entry) return false;
    }
    return true;
}

bool TpackWrite(FILE* out, const TpackSource* sources, int32_t count, char* error,
                size_t errorSize) {
    if (!CheckSources(sources, count, error, errorSize)) return false;
    bool written = WriteDirectory(out, sources, count);
    for (int32_t i = 0; written && i < count; i++) {
        size_t size = (size_t)sources[i].size;
        written = size == 0 || fwrite(sources[i].data, 1, size, out) == size;
    }
    if (!written || fflush(out) != 0) {
        snprintf(error, errorSize, "write failed");
        return false;
    }
    return true;
}
