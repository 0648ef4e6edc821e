#include "filters/FFVector.h"

#include "filters/FFOps.h"

#include <algorithm>

namespace ff {
namespace {

struct Node {
    VInstr::Kind kind = VInstr::Load;
    bool constant = false;
    uint8_t code = 0;
    int32_t value = 0;
    std::array<int, 5> arg{};
    int args = 0;
};

class Lowering {
public:
    explicit Lowering(PixelContext& ctx) : ctx_(ctx) {}

    int Channel(const ChannelProgram& p, int channel) {
        struct Open {
            int cond, start;
            size_t depth; // the stack as the test left it; the else-part starts from it again
            int then = -1, end = -1;
        };
        std::vector<int> stack;
        std::vector<Open> open;
        int a = Const(0); // the meaningless first A
        const int n = int(p.ops.size());
        for (int i = 0;; ++i) {
            while (!open.empty() && open.back().end == i) { // else-parts ending here
                a = Select(open.back().cond, open.back().then, a);
                open.pop_back();
            }
            if (i >= n) break;
            const StackOp& op = p.ops[i];
            if (op.kind == StackOp::Const) {
                stack.push_back(a);
                a = Const(op.value);
            } else if (op.kind == StackOp::Sym) {
                const int args = kSymbols[op.code].args;
                if (args == 0) {
                    stack.push_back(a);
                    a = Variable(op.code, channel);
                    continue;
                }
                std::array<int, 5> arg{};
                arg[args - 1] = a;
                for (int k = args - 2; k >= 0; --k) arg[k] = Pop(stack);
                a = Make(VInstr::Func, op.code, arg, args);
            } else if (op.code <= kOperatorCount) {
                a = Make(VInstr::Binary, op.code, {Pop(stack), a}, 2);
            } else if (op.code <= OpNegate) {
                a = Make(VInstr::Unary, op.code, {a}, 1);
            } else if (op.code == OpCondTest) {
                const int start = Pop(stack);
                open.push_back({a, start, stack.size()});
                a = open.back().start;
            } else if (op.code == OpThenEnd) {
                open.back().then = a;
                open.back().end = op.value;
                a = open.back().start;
                stack.resize(open.back().depth);
            } else {
                a = Pop(stack); // sequence
            }
        }
        return a;
    }

    std::unique_ptr<VectorProgram> Finish(const std::array<int, 3>& out) {
        const int count = int(nodes_.size());
        std::vector<char> live(count, 0);
        for (int o : out) live[o] = 1;
        for (int i = count - 1; i >= 0; --i)
            if (live[i] && !nodes_[i].constant)
                for (int k = 0; k < nodes_[i].args; ++k) live[nodes_[i].arg[k]] = 1;
        std::vector<int> lastUse(count, -1);
        for (int i = 0; i < count; ++i)
            if (live[i] && !nodes_[i].constant)
                for (int k = 0; k < nodes_[i].args; ++k) lastUse[nodes_[i].arg[k]] = i;
        for (int o : out) lastUse[o] = count; // outputs stay to the end

        auto program = std::make_unique<VectorProgram>();
        std::vector<int> slot(count, -1), freeSlots;
        for (int i = 0; i < count; ++i) {
            if (!live[i] || !nodes_[i].constant) continue;
            slot[i] = program->slots++;
            program->constants.push_back({uint16_t(slot[i]), nodes_[i].value});
        }
        for (int i = 0; i < count; ++i) {
            const Node& node = nodes_[i];
            if (!live[i] || node.constant) continue;
            VInstr in;
            in.kind = node.kind;
            in.code = node.code;
            for (int k = 0; k < node.args; ++k) in.arg[k] = uint16_t(slot[node.arg[k]]);
            // Operands dying here give their slots back first, so a result may overwrite one.
            for (int k = 0; k < node.args; ++k) {
                const int arg = node.arg[k];
                if (lastUse[arg] == i && !nodes_[arg].constant && slot[arg] >= 0 &&
                    std::find(freeSlots.begin(), freeSlots.end(), slot[arg]) == freeSlots.end())
                    freeSlots.push_back(slot[arg]);
            }
            if (freeSlots.empty()) {
                slot[i] = program->slots++;
            } else {
                slot[i] = freeSlots.back();
                freeSlots.pop_back();
            }
            in.dst = uint16_t(slot[i]);
            program->code.push_back(in);
        }
        for (int c = 0; c < 3; ++c) program->out[c] = uint16_t(slot[out[c]]);
        return program;
    }

private:
    static int Pop(std::vector<int>& stack) {
        const int v = stack.back();
        stack.pop_back();
        return v;
    }
    int Const(int32_t v) {
        Node n;
        n.constant = true;
        n.value = v;
        nodes_.push_back(n);
        return int(nodes_.size()) - 1;
    }
    int Variable(int symbol, int channel) {
        switch (symbol) {
        case SymW:
            return Const(ctx_.width);
        case SymH:
            return Const(ctx_.height);
        case SymZZ:
            return Const(3);
        case SymDD:
            return Const(1024);
        case SymMM:
            return Const(ctx_.maxM);
        case SymZ:
            return Const(channel);
        case SymR:
        case SymG:
        case SymB:
        case SymX:
        case SymY:
        case SymI:
        case SymU:
        case SymV:
        case SymD:
        case SymM: {
            if (loads_[symbol] < 0) {
                Node n;
                n.kind = VInstr::Load;
                n.code = uint8_t(symbol);
                nodes_.push_back(n);
                loads_[symbol] = int(nodes_.size()) - 1;
            }
            return loads_[symbol];
        }
        default:
            return Const(0);
        }
    }
    int Select(int cond, int then, int otherwise) {
        if (nodes_[cond].constant) return nodes_[cond].value != 0 ? then : otherwise;
        return Make(VInstr::Select, 0, {cond, then, otherwise}, 3);
    }
    int Make(VInstr::Kind kind, int code, std::array<int, 5> arg, int args) {
        bool constant = true;
        int32_t v[5] = {};
        for (int k = 0; k < args; ++k) {
            constant = constant && nodes_[arg[k]].constant;
            v[k] = nodes_[arg[k]].value;
        }
        if (constant) {
            if (kind == VInstr::Binary) return Const(Binary(code, v[0], v[1]));
            if (kind == VInstr::Unary) return Const(Unary(code, v[0]));
            return Const(Function(code, v, ctx_));
        }
        Node n;
        n.kind = kind;
        n.code = uint8_t(code);
        n.arg = arg;
        n.args = args;
        nodes_.push_back(n);
        return int(nodes_.size()) - 1;
    }

    PixelContext& ctx_;
    std::vector<Node> nodes_;
    int loads_[kSymbolCount];

public:
    void Reset() { std::fill(std::begin(loads_), std::end(loads_), -1); }
};

template <typename F> inline void Map1(int32_t* d, const int32_t* a, int n, F f) {
    for (int l = 0; l < n; ++l) d[l] = f(a[l]);
}
template <typename F> inline void Map2(int32_t* d, const int32_t* a, const int32_t* b, int n, F f) {
    for (int l = 0; l < n; ++l) d[l] = f(a[l], b[l]);
}

void RunBinary(int code, int32_t* d, const int32_t* a, const int32_t* b, int n) {
    switch (code) {
    case OpOr:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return l | r; });
    case OpLogicalOr:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t((l | r) != 0); });
    case OpXor:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return l ^ r; });
    case OpAnd:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return l & r; });
    case OpLogicalAnd:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t((l & r) != 0); });
    case OpEq:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l == r); });
    case OpNe:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l != r); });
    case OpLt:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l < r); });
    case OpLe:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l <= r); });
    case OpGt:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l > r); });
    case OpGe:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return int32_t(l >= r); });
    case OpShl:
        return Map2(d, a, b, n,
                    [](int32_t l, int32_t r) { return int32_t(uint32_t(l) << (r & 31)); });
    case OpShr:
        return Map2(d, a, b, n,
                    [](int32_t l, int32_t r) { return int32_t(uint32_t(l) >> (r & 31)); });
    case OpAdd:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return Add(l, r); });
    case OpSub:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return Sub(l, r); });
    case OpMul:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return Mul(l, r); });
    case OpDiv:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return Div(l, r); });
    case OpMod:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return Mod(l, r); });
    default:
        return;
    }
}

void RunLoad(int symbol, int32_t* d, const PixelContext& ctx, int y, int x0, int n) {
    const uint32_t* p = ctx.origin + ptrdiff_t(y) * ctx.stride + x0;
    switch (symbol) {
    case SymR:
        for (int l = 0; l < n; ++l) d[l] = int32_t((p[l] >> 16) & 255);
        return;
    case SymG:
        for (int l = 0; l < n; ++l) d[l] = int32_t((p[l] >> 8) & 255);
        return;
    case SymB:
        for (int l = 0; l < n; ++l) d[l] = int32_t(p[l] & 255);
        return;
    case SymX:
        for (int l = 0; l < n; ++l) d[l] = x0 + l;
        return;
    case SymY:
        for (int l = 0; l < n; ++l) d[l] = y;
        return;
    default:
        break;
    }
    PixelVars v;
    const uint32_t bit = VarBitOf(symbol);
    for (int l = 0; l < n; ++l) {
        PreparePixel(v, bit, p[l], x0 + l, y, ctx.width, ctx.height);
        d[l] = symbol == SymI   ? v.i
               : symbol == SymU ? v.u
               : symbol == SymV ? v.v
               : symbol == SymD ? v.d
                                : v.m;
    }
}

void RunFunction(const VInstr& in, int32_t* regs, PixelContext& ctx, int n) {
    int32_t* d = regs + in.dst * kLanes;
    const int32_t* a = regs + in.arg[0] * kLanes;
    const int32_t* b = regs + in.arg[1] * kLanes;
    switch (in.code) {
    case SymMin:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return l < r ? l : r; });
    case SymMax:
        return Map2(d, a, b, n, [](int32_t l, int32_t r) { return l > r ? l : r; });
    case SymAbs:
        return Map1(d, a, n, [](int32_t v) { return Abs(v); });
    case SymCtl:
        return Map1(d, a, n, [&ctx](int32_t v) { return ctx.ctl[v & 7]; });
    default:
        break;
    }
    const int args = kSymbols[in.code].args;
    int32_t v[5];
    for (int l = 0; l < n; ++l) {
        for (int k = 0; k < args; ++k) v[k] = regs[in.arg[k] * kLanes + l];
        d[l] = Function(in.code, v, ctx);
    }
}

inline uint32_t Clamp8(int32_t v) {
    return uint32_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

} // namespace

std::unique_ptr<VectorProgram> Lower(const CompiledFilter& filter, PixelContext& ctx) {
    Lowering lowering(ctx);
    lowering.Reset();
    std::array<int, 3> out{};
    for (int c = 0; c < 3; ++c) out[c] = lowering.Channel(filter.channels[c], c);
    return lowering.Finish(out);
}

void FillConstants(const VectorProgram& program, std::vector<int32_t>& regs) {
    regs.assign(size_t(program.slots) * kLanes, 0);
    for (const auto& [slot, value] : program.constants)
        std::fill_n(regs.begin() + ptrdiff_t(slot) * kLanes, kLanes, value);
}

void RunChunk(const VectorProgram& program, int32_t* regs, PixelContext& ctx, int y, int x0, int n,
              uint32_t* dst) {
    for (const VInstr& in : program.code) {
        int32_t* d = regs + in.dst * kLanes;
        switch (in.kind) {
        case VInstr::Load:
            RunLoad(in.code, d, ctx, y, x0, n);
            break;
        case VInstr::Binary:
            RunBinary(in.code, d, regs + in.arg[0] * kLanes, regs + in.arg[1] * kLanes, n);
            break;
        case VInstr::Unary: {
            const int32_t* a = regs + in.arg[0] * kLanes;
            if (in.code == OpNot)
                Map1(d, a, n, [](int32_t v) { return int32_t(v == 0); });
            else if (in.code == OpComplement)
                Map1(d, a, n, [](int32_t v) { return ~v; });
            else
                Map1(d, a, n, [](int32_t v) { return Neg(v); });
            break;
        }
        case VInstr::Select: {
            const int32_t* c = regs + in.arg[0] * kLanes;
            const int32_t* t = regs + in.arg[1] * kLanes;
            const int32_t* e = regs + in.arg[2] * kLanes;
            for (int l = 0; l < n; ++l) d[l] = c[l] != 0 ? t[l] : e[l];
            break;
        }
        case VInstr::Func:
            RunFunction(in, regs, ctx, n);
            break;
        }
    }
    const int32_t* r = regs + program.out[0] * kLanes;
    const int32_t* g = regs + program.out[1] * kLanes;
    const int32_t* b = regs + program.out[2] * kLanes;
    for (int l = 0; l < n; ++l) dst[l] = Clamp8(r[l]) << 16 | Clamp8(g[l]) << 8 | Clamp8(b[l]);
}

} // namespace ff
