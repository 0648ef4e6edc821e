#include "filters/FFProgram.h"
#include "filters/FFScanner.h"
#include "filters/FFTables.h"

namespace ff {
namespace {

struct CompileError {};

// Operator precedence over one shared 128-entry operator stack; every error ends the channel.
class Compiler {
public:
    Compiler(std::string_view text, int channel) : scanner_(text), channel_(channel) {}

    ChannelProgram Run() {
        program_.size = kPrologueSize;
        try {
            Compile(0, true);
            if (token_.kind != TokenKind::End) throw CompileError{};
        } catch (const CompileError&) {
            ChannelProgram failed;
            failed.failed = true;
            failed.errorOffset = scanner_.Position();
            failed.ops.push_back({StackOp::Const, 0, 0});
            failed.size = kPrologueSize + kNumberSize + kEpilogueSize;
            return failed;
        }
        program_.size += kEpilogueSize;
        return std::move(program_);
    }

private:
    static constexpr int kStackSize = 128;
    static constexpr int kMaxOpen = 128;

    void Charge(int bytes) {
        program_.size += bytes;
        if (program_.size + kEpilogueSize > kStoreSize) throw CompileError{};
    }
    int EmitOp(int n) {
        Charge(OperationSize(n));
        program_.ops.push_back({StackOp::Oper, uint8_t(n), 0});
        return int(program_.ops.size()) - 1;
    }
    void EmitConst(int32_t v) {
        Charge(kNumberSize);
        program_.ops.push_back({StackOp::Const, 0, v});
    }
    void Push(int n) {
        if (top_ + 1 >= kStackSize) throw CompileError{};
        stack_[++top_] = uint8_t(n);
    }
    void Read() { token_ = scanner_.Next(); }

    void Compile(int base, bool commaAllowed) {
        for (;;) {
            Operand();
            Read();
            if (token_.kind == TokenKind::Operator) {
                while (top_ >= base && Level(stack_[top_]) >= Level(token_.value))
                    EmitOp(stack_[top_--]);
                Push(token_.value);
                continue;
            }
            while (top_ >= base) EmitOp(stack_[top_--]);
            if (token_.Is(TokenKind::Punctuation, '?')) Conditional();
            if (commaAllowed && token_.Is(TokenKind::Punctuation, ',')) {
                EmitOp(OpSequence);
                continue;
            }
            return;
        }
    }

    void Conditional() {
        if (++open_ > kMaxOpen) throw CompileError{};
        const int test = EmitOp(OpCondTest);
        Compile(top_ + 1, true);
        if (!token_.Is(TokenKind::Punctuation, ':')) throw CompileError{};
        const int thenEnd = EmitOp(OpThenEnd);
        program_.ops[test].value = thenEnd + 1;
        Compile(top_ + 1, false);
        Charge(OperationSize(OpElseEnd));
        program_.ops[thenEnd].value = int32_t(program_.ops.size());
        --open_;
    }

    // Prefix operators, then one operand.
    void Operand() {
        for (;;) {
            Read();
            if (token_.kind == TokenKind::Operator) {
                if (token_.value == OpAdd) continue;
                if (token_.value != OpSub) throw CompileError{};
                Push(OpNegate);
            } else if (token_.Is(TokenKind::Identifier, '!')) {
                Push(OpNot);
            } else if (token_.Is(TokenKind::Punctuation, '~')) {
                Push(OpComplement);
            } else {
                break;
            }
        }
        if (token_.kind == TokenKind::Number) return EmitConst(token_.value);
        if (token_.Is(TokenKind::Punctuation, '(')) {
            Compile(top_ + 1, true);
            if (!token_.Is(TokenKind::Punctuation, ')')) throw CompileError{};
            return;
        }
        if (token_.kind != TokenKind::Identifier) throw CompileError{};
        uint32_t name = uint32_t(token_.value);
        if (name == 'c') name = "rgb"[channel_];
        const int symbol = FindSymbol(name);
        if (symbol < 0) throw CompileError{};
        program_.uses |= VarBitOf(symbol);
        const SymbolEntry& entry = kSymbols[symbol];
        if (entry.args > 0) {
            Read();
            if (!token_.Is(TokenKind::Punctuation, '(')) throw CompileError{};
            for (int k = 0; k < entry.args; ++k) {
                Compile(top_ + 1, false);
                const char closing = k + 1 < entry.args ? ',' : ')';
                if (!token_.Is(TokenKind::Punctuation, closing)) throw CompileError{};
            }
        }
        if (symbol == SymZ) return EmitConst(channel_);
        if (entry.size == 0) throw CompileError{};
        Charge(entry.size);
        program_.ops.push_back({StackOp::Sym, uint8_t(symbol), 0});
        if (symbol == SymPut || symbol == SymRnd) program_.ordered = true;
    }

    Scanner scanner_;
    int channel_;
    Token token_;
    uint8_t stack_[kStackSize] = {};
    int top_ = -1;
    int open_ = 0;
    ChannelProgram program_;
};

} // namespace

ChannelProgram CompileChannel(std::string_view text, int channel) {
    return Compiler(text.substr(0, kMaxText), channel).Run();
}

CompiledFilter CompileAll(const std::array<std::string_view, 3>& texts) {
    CompiledFilter filter;
    for (int c = 0; c < 3; ++c) {
        filter.channels[c] = CompileChannel(texts[c], c);
        filter.uses |= filter.channels[c].uses;
    }
    return filter;
}

} // namespace ff
