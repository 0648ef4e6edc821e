// lngpack input.txt output.lng
#include "lang/LngPacker.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lngpack input.txt output.lng\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "lngpack: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<uint8_t> text((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    try {
        const std::vector<uint8_t> packed = PackLng(text);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(packed.data()), std::streamsize(packed.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "lngpack: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lngpack: %s\n", e.what());
        return 1;
    }
    return 0;
}
