#include "platform/image_libraries.h"

#include <dlfcn.h>

#include <cstdarg>

#include <mutex>

namespace {

// libtiff's TIFFErrorHandler and the functions that install one.
using TiffErrorHandler = void (*)(const char*, const char*, va_list);
using SetTiffHandler = TiffErrorHandler (*)(TiffErrorHandler);

// Silences the library named, when this process can load it: the image plugin that decodes
// TIFF loads the same library later and finds its handlers already cleared.
void ClearTiffHandlers(const char* library)
{
    void* handle = dlopen(library, RTLD_LAZY | RTLD_LOCAL);
    if (!handle)
        return;
    for (const char* name : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"}) {
        if (auto set = reinterpret_cast<SetTiffHandler>(dlsym(handle, name)))
            set(nullptr);
    }
    // The handle stays open: unloading would bring the handlers back on the next load.
}

} // namespace

void QuietImageLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ClearTiffHandlers("libtiff.so.6");
        ClearTiffHandlers("libtiff.so.5");
    });
}
