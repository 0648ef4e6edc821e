#include "filters/FFTables.h"

#include <cstring>

namespace ff {

const std::array<const char*, kOperatorCount> kOperatorTable = {
    "F|",  "D||", "G^",  "H&",  "E&&", "I==", "I!=", "J<", "K<<",
    "J<=", "J>",  "K>>", "J>=", "L+",  "L-",  "M*",  "M/", "M%",
};

char Level(int n) {
    if (n >= 1 && n <= kOperatorCount) return kOperatorTable[n - 1][0];
    return 'N';
}

const std::array<SymbolEntry, kSymbolCount> kSymbols = {{
    {"r", 0, 4},    {"g", 0, 4},    {"b", 0, 4},    {"a", 0, 3},    {"c", 0, 0},    {"x", 0, 4},
    {"y", 0, 4},    {"X", 0, 4},    {"Y", 0, 4},    {"i", 0, 4},    {"u", 0, 4},    {"v", 0, 4},
    {"z", 0, 6},    {"Z", 0, 6},    {"d", 0, 4},    {"dmin", 0, 3}, {"D", 0, 6},    {"m", 0, 4},
    {"mmin", 0, 3}, {"M", 0, 4},    {"abs", 1, 6},  {"add", 3, 13}, {"cnv", 10, 0}, {"ctl", 1, 7},
    {"dif", 2, 10}, {"put", 2, 12}, {"get", 1, 9},  {"map", 2, 52}, {"max", 2, 11}, {"min", 2, 11},
    {"mix", 4, 32}, {"rnd", 2, 49}, {"scl", 5, 38}, {"sqr", 1, 10}, {"src", 3, 52}, {"sub", 3, 16},
    {"val", 3, 30}, {"c2d", 2, 47}, {"c2m", 2, 25}, {"cos", 1, 12}, {"r2x", 2, 23}, {"r2y", 2, 23},
    {"rad", 3, 95}, {"sin", 1, 12}, {"tan", 1, 12},
}};

uint32_t Pack(const char* name, int length) {
    uint32_t packed = 0;
    for (int i = 0; i < length && i < 4; ++i) packed |= uint32_t(uint8_t(name[i])) << (8 * i);
    return packed;
}

int FindSymbol(uint32_t packed) {
    for (int i = 0; i < kSymbolCount; ++i)
        if (Pack(kSymbols[i].name, int(std::strlen(kSymbols[i].name))) == packed) return i;
    return -1;
}

int OperationSize(int n) {
    static constexpr int kSizes[] = {0,  6, 17, 6, 6,  17, 15, 17, 13, 5, 13, 13, 5,
                                     13, 6, 8,  7, 15, 12, 11, 2,  2,  9, 5,  0,  1};
    return n >= 1 && n <= 25 ? kSizes[n] : 0;
}

uint32_t VarBitOf(int symbol) {
    switch (symbol) {
    case SymR:
        return UsesR;
    case SymG:
        return UsesG;
    case SymB:
        return UsesB;
    case SymI:
        return UsesI;
    case SymU:
        return UsesU;
    case SymV:
        return UsesV;
    case SymD:
        return UsesD;
    case SymM:
        return UsesM;
    default:
        return 0;
    }
}

} // namespace ff
