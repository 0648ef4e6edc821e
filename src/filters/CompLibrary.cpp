#include "filters/CompLibrary.h"

#include <dlfcn.h>

namespace comp {

std::unique_ptr<Library> Library::Open(const QString& path) {
    // RTLD_LOCAL: two components may export the same names without meeting each other.
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    auto entry = reinterpret_cast<Process>(dlsym(handle, "OVCPROCESS"));
    if (!entry) {
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<Library>(new Library(handle, entry));
}

Library::~Library() {
    dlclose(handle_);
}

const char* Library::DescriptorText() const {
    if (auto* data = static_cast<const char* const*>(dlsym(handle_, "OVCDESC"))) return *data;
    using GetDesc = const char* (*)();
    auto get = reinterpret_cast<GetDesc>(dlsym(handle_, "OVCGETDESC"));
    if (!get) return nullptr;
    try {
        return get();
    } catch (...) {
        return nullptr; // a component that cannot describe itself is not one
    }
}

} // namespace comp
