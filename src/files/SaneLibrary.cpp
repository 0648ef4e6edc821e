#include "files/SaneLibrary.h"

#include <dlfcn.h>

namespace {

template <typename F> bool Find(void* library, const char* name, F& entry) {
    entry = reinterpret_cast<F>(dlsym(library, name));
    return entry != nullptr;
}

SaneLibrary Load() {
    SaneLibrary s;
    void* library = dlopen("libsane.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) return s;
    const bool all = Find(library, "sane_init", s.init) && Find(library, "sane_exit", s.exit) &&
                     Find(library, "sane_get_devices", s.get_devices) &&
                     Find(library, "sane_open", s.open) && Find(library, "sane_close", s.close) &&
                     Find(library, "sane_cancel", s.cancel) &&
                     Find(library, "sane_get_option_descriptor", s.get_option_descriptor) &&
                     Find(library, "sane_control_option", s.control_option) &&
                     Find(library, "sane_get_parameters", s.get_parameters) &&
                     Find(library, "sane_start", s.start) && Find(library, "sane_read", s.read);
    return all ? s : SaneLibrary{};
}

} // namespace

const SaneLibrary& Sane() {
    static const SaneLibrary library = Load();
    return library;
}
