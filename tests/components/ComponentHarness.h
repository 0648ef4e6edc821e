#pragma once

#include "ovc.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Loads a component as the program does and drives it with a recording host.
namespace comptest {

struct Library {
    void* handle = nullptr;
    std::string desc;
    void (*process)(void*, uint32_t) = nullptr;
    bool fromGetDesc = false;
    explicit Library(const std::string& path);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Ok() const { return handle && process; }
};

// The value of key (with its "=") in a descriptor: first occurrence, up to the next CR.
std::string Key(const std::string& desc, const std::string& key);

struct Message {
    uint32_t msg;
    uintptr_t w;
    intptr_t l;
};

struct Host {
    std::vector<Message> messages;
    bool stop = false; // the answer to progress steps
    static intptr_t Call(void* host, uint32_t msg, uintptr_t w, intptr_t l);
};

// A picture with its untouched copy.
struct Picture {
    int w, h;
    std::vector<uint32_t> src, dst;
    Picture(int w, int h, uint32_t seed = 1);
    uint32_t& Src(int x, int y) { return src[size_t(y) * w + x]; }
    uint32_t Dst(int x, int y) const { return dst[size_t(y) * w + x]; }
};

// An environment over the picture: the whole rectangle, preview, no marks.
OvcEnv Env(Picture& p, Host* host = nullptr);

// The packed values of a list of 4-byte parameters.
std::vector<unsigned char> Pack(const std::vector<int32_t>& values);

// 4493, 4494 with values (when not empty) and 4496 with env.
void Drive(const Library& lib, OvcEnv env, const std::vector<unsigned char>& values);

std::string BuildDir();
std::vector<std::string> ShippedComponents(); // every *.ovc under Comps

} // namespace comptest
