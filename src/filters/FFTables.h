#pragma once

#include <array>
#include <cstdint>

// The fixed tables of the expression language: operators with their precedence letters, the
// symbols with their argument counts, and the byte size each operation is charged against a
// channel's 4096-byte store.
namespace ff {

inline constexpr int kOperatorCount = 18;
// Unary and structural operation numbers, after the 18 binary operators.
enum OpNumber : uint8_t {
    OpOr = 1,
    OpLogicalOr,
    OpXor,
    OpAnd,
    OpLogicalAnd,
    OpEq,
    OpNe,
    OpLt,
    OpShl,
    OpLe,
    OpGt,
    OpShr,
    OpGe,
    OpAdd,
    OpSub,
    OpMul,
    OpDiv,
    OpMod,
    OpNot = 19,
    OpComplement,
    OpNegate,
    OpCondTest,
    OpThenEnd,
    OpElseEnd,
    OpSequence,
};

// "F|", "D||", ...: precedence letter, then the operator's characters; index + 1 is its number.
extern const std::array<const char*, kOperatorCount> kOperatorTable;
// Precedence letter of operation n (1..21); unary operators are 'N', above every binary one.
char Level(int n);

enum Symbol : uint8_t {
    SymR,
    SymG,
    SymB,
    SymA,
    SymC,
    SymX,
    SymY,
    SymW,
    SymH,
    SymI,
    SymU,
    SymV,
    SymZ,
    SymZZ,
    SymD,
    SymDmin,
    SymDD,
    SymM,
    SymMmin,
    SymMM,
    SymAbs,
    SymAdd,
    SymCnv,
    SymCtl,
    SymDif,
    SymPut,
    SymGet,
    SymMap,
    SymMax,
    SymMin,
    SymMix,
    SymRnd,
    SymScl,
    SymSqr,
    SymSrc,
    SymSub,
    SymVal,
    SymC2d,
    SymC2m,
    SymCos,
    SymR2x,
    SymR2y,
    SymRad,
    SymSin,
    SymTan,
};
inline constexpr int kSymbolCount = 45;

struct SymbolEntry {
    const char* name;
    int args;
    int size; // 0: no piece ("c", "cnv")
};
extern const std::array<SymbolEntry, kSymbolCount> kSymbols;

// The identifier packing: up to the first four bytes, first byte lowest.
uint32_t Pack(const char* name, int length);
// The symbol of a packed name, or -1.
int FindSymbol(uint32_t packed);

// Bytes charged per operation.
inline constexpr int kPrologueSize = 3;
inline constexpr int kEpilogueSize = 3;
inline constexpr int kNumberSize = 6;
inline constexpr int kStoreSize = 4096;
int OperationSize(int n); // operations 1..25

// Bits of the variables that need work per pixel.
enum VarBit : uint32_t {
    UsesR = 1,
    UsesG = 2,
    UsesB = 4,
    UsesI = 8,
    UsesU = 16,
    UsesV = 32,
    UsesD = 64,
    UsesM = 128,
};
uint32_t VarBitOf(int symbol); // 0 for symbols that cost nothing per pixel

} // namespace ff
