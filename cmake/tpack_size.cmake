# Writes the source that gives the program its pack length.
file(SIZE "${PACK}" pack_size)
file(WRITE "${OUT}" "// Generated from the length of ${PACK}; rebuilt with the pack.
#include \"pack/tpack.h\"
#define TPACK_SIZE ${pack_size}
int32_t TpackSize = TPACK_SIZE;
")
