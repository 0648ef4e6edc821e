#include "filters/FFOps.h"
#include "filters/FFRun.h"

namespace ff {
namespace {

int32_t Variable(int symbol, const PixelVars& v, int x, int y, const PixelContext& ctx) {
    switch (symbol) {
    case SymR:
        return v.r;
    case SymG:
        return v.g;
    case SymB:
        return v.b;
    case SymX:
        return x;
    case SymY:
        return y;
    case SymW:
        return ctx.width;
    case SymH:
        return ctx.height;
    case SymI:
        return v.i;
    case SymU:
        return v.u;
    case SymV:
        return v.v;
    case SymZZ:
        return 3;
    case SymD:
        return v.d;
    case SymDD:
        return 1024;
    case SymM:
        return v.m;
    case SymMM:
        return ctx.maxM;
    default:
        return 0; // a, dmin, mmin
    }
}

} // namespace

int32_t RunStack(const ChannelProgram& program, const PixelVars& vars, int x, int y,
                 PixelContext& ctx, std::vector<int32_t>& stack) {
    const size_t n = program.ops.size();
    if (stack.size() < n + 1) stack.resize(n + 1);
    int32_t* s = stack.data();
    int32_t a = 0;
    size_t sp = 0;
    for (size_t i = 0; i < n;) {
        const StackOp& op = program.ops[i];
        ++i;
        switch (op.kind) {
        case StackOp::Const:
            s[sp++] = a;
            a = op.value;
            break;
        case StackOp::Oper:
            if (op.code <= kOperatorCount) {
                a = Binary(op.code, s[--sp], a);
            } else if (op.code <= OpNegate) {
                a = Unary(op.code, a);
            } else if (op.code == OpCondTest) {
                const int32_t test = a;
                a = s[--sp];
                if (test == 0) i = size_t(op.value);
            } else if (op.code == OpThenEnd) {
                i = size_t(op.value);
            } else {
                a = s[--sp]; // sequence
            }
            break;
        case StackOp::Sym: {
            const int args = kSymbols[op.code].args;
            if (args == 0) {
                s[sp++] = a;
                a = Variable(op.code, vars, x, y, ctx);
                break;
            }
            int32_t arg[10];
            arg[args - 1] = a;
            for (int k = args - 2; k >= 0; --k) arg[k] = s[--sp];
            a = Function(op.code, arg, ctx);
            break;
        }
        }
    }
    return a;
}

} // namespace ff
