#pragma once

#include "filters/FFContext.h"
#include "filters/FFTables.h"

#include <cmath>
#include <cstdint>

// The meaning of every operation, in one place for both ways of running a program. All
// arithmetic wraps at 32 bits through unsigned types: no operation here can overflow or trap.
namespace ff {

inline int32_t Add(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) + uint32_t(b));
}
inline int32_t Sub(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) - uint32_t(b));
}
inline int32_t Mul(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) * uint32_t(b));
}
inline int32_t Neg(int32_t a) {
    return int32_t(0u - uint32_t(a));
}
inline int32_t Low32(int64_t v) {
    return int32_t(uint32_t(uint64_t(v)));
}
inline int32_t Abs(int32_t a) {
    return a < 0 ? Neg(a) : a;
}
inline int32_t Div(int32_t l, int32_t r) {
    if (r == 0) return 0;
    if (r == -1) return Neg(l); // INT_MIN / -1 wraps instead of trapping
    return l / r;
}
inline int32_t Mod(int32_t l, int32_t r) {
    return r == 0 || r == -1 ? 0 : l % r;
}
// 64-bit quotient, its low 32 bits; the divisor is never 0 here.
inline int32_t Quot64(int64_t n, int64_t d) {
    if (d == -1) return Low32(int64_t(0ull - uint64_t(n)));
    return Low32(n / d);
}

// Real-valued results: rounded to nearest (ties to even); out of range or NaN gives INT_MIN.
inline int32_t FromReal(long double v) {
    v = std::nearbyint(v);
    if (!(v >= -2147483648.0L && v <= 2147483647.0L)) return INT32_MIN;
    return int32_t(v);
}

inline int32_t Binary(int op, int32_t l, int32_t r) {
    switch (op) {
    case OpOr:
        return l | r;
    case OpLogicalOr:
        return (l | r) != 0;
    case OpXor:
        return l ^ r;
    case OpAnd:
        return l & r;
    case OpLogicalAnd:
        return (l & r) != 0;
    case OpEq:
        return l == r;
    case OpNe:
        return l != r;
    case OpLt:
        return l < r;
    case OpShl:
        return int32_t(uint32_t(l) << (r & 31));
    case OpLe:
        return l <= r;
    case OpGt:
        return l > r;
    case OpShr:
        return int32_t(uint32_t(l) >> (r & 31));
    case OpGe:
        return l >= r;
    case OpAdd:
        return Add(l, r);
    case OpSub:
        return Sub(l, r);
    case OpMul:
        return Mul(l, r);
    case OpDiv:
        return Div(l, r);
    case OpMod:
        return Mod(l, r);
    default:
        return 0;
    }
}

inline int32_t Unary(int op, int32_t a) {
    switch (op) {
    case OpNot:
        return a == 0;
    case OpComplement:
        return ~a;
    case OpNegate:
        return Neg(a);
    default:
        return a;
    }
}

// The process-wide generator of rnd: 0 at start, never reset.
uint32_t& RandomState();
inline int32_t NextRandom() {
    uint32_t& s = RandomState();
    s = s * 1103515245u + 12345u;
    return int32_t((s >> 16) & 32767u);
}

inline int32_t Channel(uint32_t pixel, int32_t z) {
    switch (z & 3) {
    case 0:
        return int32_t((pixel >> 16) & 255);
    case 1:
        return int32_t((pixel >> 8) & 255);
    case 2:
        return int32_t(pixel & 255);
    default:
        return 0; // the fourth channel that 32-bit pixels do not hold
    }
}

// A function symbol applied to its arguments in source order.
inline int32_t Function(int symbol, const int32_t* a, PixelContext& ctx) {
    switch (symbol) {
    case SymAbs:
        return Abs(a[0]);
    case SymAdd: {
        const int32_t s = Add(a[0], a[1]);
        return s < a[2] ? s : a[2];
    }
    case SymSub: {
        const int32_t s = Sub(a[0], a[1]);
        return s > a[2] ? s : a[2];
    }
    case SymDif:
        return Abs(Sub(a[0], a[1]));
    case SymMax:
        return a[0] > a[1] ? a[0] : a[1];
    case SymMin:
        return a[0] < a[1] ? a[0] : a[1];
    case SymCtl:
        return ctx.ctl[a[0] & 7];
    case SymVal: {
        const int64_t p = int64_t(Sub(a[2], a[1])) * ctx.ctl[a[0] & 7] + 127;
        return Add(a[1], Low32(p / 255));
    }
    case SymMap: {
        const int k = (a[1] * 2) & 7;
        const int32_t hi = ctx.ctl[k], lo = ctx.ctl[k + 1];
        if (a[0] <= lo) return 0;
        if (a[0] >= hi) return 255;
        return Quot64((int64_t(a[0]) - lo) * 255, int64_t(hi) - lo);
    }
    case SymMix: {
        const int64_t p = int64_t(Sub(a[0], a[1])) * a[2];
        if (a[3] == 0) return Low32(p);
        return Add(a[1], Quot64(p + (a[3] >> 1), a[3]));
    }
    case SymScl: {
        const int32_t in = Sub(a[2], a[1]);
        const int32_t out = Sub(a[4], a[3]);
        if (in == 0) return out;
        return Add(a[3], Quot64(int64_t(Sub(a[0], a[1])) * out + (in >> 1), in));
    }
    case SymRnd: {
        const int32_t r = NextRandom();
        return Add(a[0], Mul(Add(Sub(a[1], a[0]), 1), r) >> 15);
    }
    case SymSqr:
        return a[0] < 0 ? INT32_MIN : RoundedRoot(a[0]);
    case SymC2d:
        if (a[0] == 0) return a[1] == 0 ? 0 : (a[1] < 0 ? -256 : 256);
        return AngleOf(a[0], a[1]);
    case SymC2m:
        return RoundedRoot((long double)a[0] * a[0] + (long double)a[1] * a[1]);
    case SymSin:
        return ctx.sine[a[0] & 1023];
    case SymCos:
        return ctx.sine[(a[0] & 1023) + 256];
    case SymTan:
        return ctx.tangent[a[0] & 1023];
    case SymR2x:
        return Add(Mul(a[1], ctx.sine[(a[0] & 1023) + 256]), 256) >> 9;
    case SymR2y:
        return Add(Mul(a[1], ctx.sine[a[0] & 1023]), 256) >> 9;
    case SymSrc:
        return Channel(ctx.Source(a[0], a[1]), a[2]);
    case SymRad: {
        const int32_t x = Add(Mul(a[1], ctx.sine[(a[0] & 1023) + 256]) >> 8, ctx.width) >> 1;
        const int32_t y = Add(Mul(a[1], ctx.sine[a[0] & 1023]) >> 8, ctx.height) >> 1;
        return Channel(ctx.Source(x, y), a[2]);
    }
    case SymGet:
        return ctx.cells[a[0] & 1023];
    case SymPut:
        ctx.cells[a[1] & 1023] = a[0];
        return a[0];
    default:
        return 0;
    }
}

} // namespace ff
