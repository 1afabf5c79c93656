// Pins the loaded libraries (see keep_loaded.h) where a sanitizer checks for leaks.
#include "platform/sdl/keep_loaded.h"

#if defined(__SANITIZE_ADDRESS__)
#define VERNALIS_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VERNALIS_LEAK_CHECKED 1
#endif
#endif

#ifdef VERNALIS_LEAK_CHECKED
#include <dlfcn.h>
#include <link.h>

// Opening a loaded library again with RTLD_NODELETE marks it never to be unloaded.
static int Pin(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name && info->dlpi_name[0])
        dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

void KeepLibrariesLoaded() { dl_iterate_phdr(Pin, nullptr); }
#else
void KeepLibrariesLoaded() {}
#endif
