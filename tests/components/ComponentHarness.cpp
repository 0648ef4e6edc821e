#include "ComponentHarness.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace comptest {

Library::Library(const std::string& path) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return;
    if (auto* data = static_cast<const char* const*>(dlsym(handle, "OVCDESC"))) {
        desc = *data ? *data : "";
    } else if (auto* get = reinterpret_cast<const char* (*)()>(dlsym(handle, "OVCGETDESC"))) {
        const char* text = get();
        desc = text ? text : "";
        fromGetDesc = true;
    }
    process = reinterpret_cast<void (*)(void*, uint32_t)>(dlsym(handle, "OVCPROCESS"));
}

Library::~Library() {
    if (handle) dlclose(handle);
}

std::string Key(const std::string& desc, const std::string& key) {
    const size_t at = desc.find(key);
    if (at == std::string::npos) return {};
    const size_t start = at + key.size();
    const size_t end = desc.find('\r', start);
    return desc.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

intptr_t Host::Call(void* host, uint32_t msg, uintptr_t w, intptr_t l) {
    auto* self = static_cast<Host*>(host);
    self->messages.push_back({msg, w, l});
    return msg == OVC_MSG_STEP && self->stop ? 1 : 0;
}

Picture::Picture(int w, int h, uint32_t seed) : w(w), h(h), src(size_t(w) * h), dst(size_t(w) * h) {
    uint32_t s = seed * 2654435761u + 12345;
    for (auto& p : src) {
        s = s * 1664525u + 1013904223u;
        p = (s >> 8) & 0xFFFFFF;
    }
    dst.assign(dst.size(), 0xAB123456u); // no component writes a top byte: untouched shows
}

OvcEnv Env(Picture& p, Host* host) {
    static const std::vector<int32_t> sine = [] {
        std::vector<int32_t> t(1280);
        for (int k = 0; k < 1280; ++k)
            t[k] = int32_t(512 * std::sin(2 * 3.14159265358979 * k / 1024));
        return t;
    }();
    OvcEnv env{};
    env.src = p.src.data();
    env.dst = p.dst.data();
    env.width = p.w;
    env.height = p.h;
    env.right = p.w - 1;
    env.bottom = p.h - 1;
    env.sine = sine.data();
    env.cosine = sine.data() + 256;
    env.current = 1;
    env.host = host;
    env.call = host ? &Host::Call : nullptr;
    return env;
}

std::vector<unsigned char> Pack(const std::vector<int32_t>& values) {
    std::vector<unsigned char> out(OVC_VALUES_SIZE);
    for (size_t i = 0; i < values.size(); ++i) std::memcpy(&out[4 * i], &values[i], 4);
    return out;
}

void Drive(const Library& lib, OvcEnv env, const std::vector<unsigned char>& values) {
    OvcEnv start = env;
    start.left = start.top = 0;
    start.right = env.width - 1;
    start.bottom = env.height - 1;
    lib.process(&start, OVC_START);
    if (!values.empty()) lib.process(const_cast<unsigned char*>(values.data()), OVC_PARAMS);
    lib.process(&env, OVC_PROCESS);
}

std::string BuildDir() {
    return OV_BUILD_DIR;
}

std::vector<std::string> ShippedComponents() {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(BuildDir() + "/Comps"))
        if (e.path().extension() == ".ovc") out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace comptest
