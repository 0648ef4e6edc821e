// The compiled filters against a deliberately plain evaluator that reads the text directly
// (recursive descent, 64-bit arithmetic cut to 32 bits), on random expressions.
#include "FilterTestUtil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>

using namespace filtertest;

namespace {

struct Pixel {
    int64_t r, g, b, x, y, w, h;
    const Buffer* src;
    std::array<int32_t, 8> ctl;
};

int32_t Cut(int64_t v) {
    return int32_t(uint32_t(uint64_t(v)));
}

class Reference {
public:
    Reference(const std::string& text, const Pixel& p) : s_(text), p_(p) {}
    int32_t Eval() { return Sequence(); }

private:
    void Space() {
        while (i_ < s_.size() && std::isspace(uint8_t(s_[i_]))) ++i_;
    }
    bool Take(const char* op) {
        Space();
        const size_t n = std::strlen(op);
        if (s_.compare(i_, n, op) != 0) return false;
        // The longer operators first: "<" must not take "<=" or "<<".
        if (n == 1 && i_ + 1 < s_.size() && std::strchr("<>|&=", op[0]) &&
            (s_[i_ + 1] == '=' || s_[i_ + 1] == op[0]))
            return false;
        i_ += n;
        return true;
    }
    int32_t Sequence() {
        int32_t v = Conditional();
        while (Take(",")) v = Conditional();
        return v;
    }
    int32_t Conditional() {
        const int32_t c = Binary(0);
        if (!Take("?")) return c;
        const int32_t t = Sequence();
        Take(":");
        const int32_t e = Conditional();
        return c != 0 ? t : e;
    }
    int32_t Binary(int level) {
        static const std::vector<std::vector<const char*>> levels = {{"||"},
                                                                     {"&&"},
                                                                     {"|"},
                                                                     {"^"},
                                                                     {"&"},
                                                                     {"==", "!="},
                                                                     {"<=", ">=", "<", ">"},
                                                                     {"<<", ">>"},
                                                                     {"+", "-"},
                                                                     {"*", "/", "%"}};
        if (level == int(levels.size())) return Unary();
        int64_t l = Binary(level + 1);
        for (;;) {
            const char* found = nullptr;
            for (const char* op : levels[size_t(level)])
                if (Take(op)) {
                    found = op;
                    break;
                }
            if (!found) return int32_t(l);
            const int64_t r = Binary(level + 1);
            const std::string op = found;
            if (op == "||")
                l = (l | r) != 0;
            else if (op == "&&")
                l = (l & r) != 0;
            else if (op == "|")
                l = l | r;
            else if (op == "^")
                l = l ^ r;
            else if (op == "&")
                l = l & r;
            else if (op == "==")
                l = l == r;
            else if (op == "!=")
                l = l != r;
            else if (op == "<")
                l = l < r;
            else if (op == "<=")
                l = l <= r;
            else if (op == ">")
                l = l > r;
            else if (op == ">=")
                l = l >= r;
            else if (op == "<<")
                l = Cut(int64_t(uint32_t(l)) << (r & 31));
            else if (op == ">>")
                l = int64_t(uint32_t(l) >> (r & 31));
            else if (op == "+")
                l = Cut(l + r);
            else if (op == "-")
                l = Cut(l - r);
            else if (op == "*")
                l = Cut(l * r);
            else if (op == "/")
                l = r == 0 ? 0 : Cut(l / r);
            else
                l = r == 0 ? 0 : Cut(l % r);
        }
    }
    int32_t Unary() {
        if (Take("-")) return Cut(-int64_t(Unary()));
        if (Take("!")) return Unary() == 0;
        if (Take("~")) return ~Unary();
        return Primary();
    }
    std::vector<int64_t> Args() {
        std::vector<int64_t> a;
        Take("(");
        do a.push_back(Conditional());
        while (Take(","));
        Take(")");
        return a;
    }
    int64_t Channel(int64_t x, int64_t y, int64_t z) {
        x = std::clamp<int64_t>(x, 0, p_.w - 1);
        y = std::clamp<int64_t>(y, 0, p_.h - 1);
        const uint32_t px = p_.src->At(int(x), int(y));
        z &= 3;
        return z == 3 ? 0 : (px >> (16 - 8 * z)) & 255;
    }
    int32_t Primary() {
        Space();
        if (Take("(")) {
            const int32_t v = Sequence();
            Take(")");
            return v;
        }
        if (std::isdigit(uint8_t(s_[i_]))) {
            uint64_t v = 0;
            while (i_ < s_.size() && std::isdigit(uint8_t(s_[i_])))
                v = v * 10 + uint64_t(s_[i_++] - '0');
            return Cut(int64_t(v));
        }
        size_t start = i_;
        while (i_ < s_.size() && std::isalnum(uint8_t(s_[i_]))) ++i_;
        const std::string name = s_.substr(start, i_ - start);
        if (name == "r") return int32_t(p_.r);
        if (name == "g") return int32_t(p_.g);
        if (name == "b") return int32_t(p_.b);
        if (name == "x") return int32_t(p_.x);
        if (name == "y") return int32_t(p_.y);
        if (name == "X") return int32_t(p_.w);
        if (name == "Y") return int32_t(p_.h);
        if (name == "i") return int32_t((76 * p_.r + 150 * p_.g + 29 * p_.b) / 256);
        if (name == "u") return int32_t(std::floor((56 * p_.b - 37 * p_.g - 19 * p_.r) / 256.0));
        const std::vector<int64_t> a = Args();
        if (name == "min") return int32_t(std::min(a[0], a[1]));
        if (name == "max") return int32_t(std::max(a[0], a[1]));
        if (name == "abs") return Cut(a[0] < 0 ? -a[0] : a[0]);
        if (name == "dif") return Cut(std::abs(int64_t(Cut(a[0] - a[1]))));
        if (name == "add") return int32_t(std::min<int64_t>(Cut(a[0] + a[1]), a[2]));
        if (name == "ctl") return p_.ctl[size_t(a[0] & 7)];
        if (name == "src") return int32_t(Channel(a[0], a[1], a[2]));
        if (name == "scl") {
            const int64_t in = Cut(a[2] - a[1]), out = Cut(a[4] - a[3]);
            if (in == 0) return int32_t(out);
            return Cut(a[3] + Cut((int64_t(Cut(a[0] - a[1])) * out + (in >> 1)) / in));
        }
        return 0;
    }

    std::string s_;
    const Pixel& p_;
    size_t i_ = 0;
};

class Generator {
public:
    explicit Generator(uint32_t seed) : rng_(seed) {}
    std::string Expr(int depth) {
        const int pick = Pick(depth <= 0 ? 2 : 10);
        switch (pick) {
        case 0:
            return std::to_string(Pick(3) == 0 ? int64_t(rng_()) : int64_t(Pick(300)) - 20);
        case 1:
            return std::string(1, "rgbxyXYiu"[Pick(9)]);
        case 2:
            return "src(" + Expr(depth - 1) + "," + Expr(depth - 1) + "," + Expr(depth - 1) + ")";
        case 3:
        case 4:
        case 5: {
            static const char* ops[] = {"||", "&&", "|",  "^",  "&", "==", "!=", "<", "<=",
                                        ">",  ">=", "<<", ">>", "+", "-",  "*",  "/", "%"};
            return Expr(depth - 1) + " " + ops[Pick(18)] + " " + Expr(depth - 1);
        }
        case 6:
            return std::string(1, "-!~"[Pick(3)]) + Expr(depth - 1);
        case 7:
            return "(" + Expr(depth - 1) + (Pick(4) == 0 ? ", " + Expr(depth - 1) : "") + ")";
        case 8:
            return Expr(depth - 1) + " ? " + Expr(depth - 1) + " : " + Expr(depth - 1);
        default: {
            static const char* f2[] = {"min", "max", "dif"};
            if (Pick(3) == 0) return "abs(" + Expr(depth - 1) + ")";
            if (Pick(3) == 0) return "ctl(" + Expr(depth - 1) + ")";
            if (Pick(4) == 0)
                return "scl(" + Expr(depth - 1) + "," + Expr(depth - 1) + "," + Expr(depth - 1) +
                       "," + Expr(depth - 1) + "," + Expr(depth - 1) + ")";
            if (Pick(4) == 0)
                return "add(" + Expr(depth - 1) + "," + Expr(depth - 1) + "," + Expr(depth - 1) +
                       ")";
            return std::string(f2[Pick(3)]) + "(" + Expr(depth - 1) + "," + Expr(depth - 1) + ")";
        }
        }
    }

private:
    int Pick(int n) { return int(rng_() % uint32_t(n)); }
    std::mt19937 rng_;
};

TEST(FFDifferential, CompiledFiltersAgreeWithThePlainEvaluator) {
    const Buffer src = RandomPicture(9, 4, 7);
    const std::array<int32_t, 8> ctl = {0, 17, 255, 128, 3, 99, 200, 1};
    Generator gen(2024);
    int ran = 0;
    for (int n = 0; n < 400; ++n) {
        const std::string text = gen.Expr(4);
        // Longer texts are cut, larger programs refused: the evaluator knows neither limit.
        if (text.size() > 1000 || ff::CompileChannel(text, 0).failed) continue;
        ++ran;
        const std::vector<int32_t> stack = StackValues(text, src, ctl);
        const std::vector<int32_t> run = RunValues(text, src, ctl, n % 2 + 1);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) {
                const uint32_t px = src.At(x, y);
                const Pixel pixel{
                    (px >> 16) & 255, (px >> 8) & 255, px & 255, x, y, 9, 4, &src, ctl};
                const int32_t want = Reference(text, pixel).Eval();
                ASSERT_EQ(stack[size_t(y * 9 + x)], want) << text << " at " << x << "," << y;
                ASSERT_EQ(run[size_t(y * 9 + x)], want) << text << " at " << x << "," << y;
            }
    }
    EXPECT_GT(ran, 300);
}

} // namespace
