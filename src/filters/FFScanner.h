#pragma once

#include <cstdint>
#include <string_view>

// Splits an expression text into tokens. The text ends at its first zero byte or its end,
// whichever comes first; the scanner never reads past either.
namespace ff {

enum class TokenKind : uint8_t { End, Number, Operator, Punctuation, Identifier };

struct Token {
    TokenKind kind = TokenKind::End;
    int32_t value = 0; // number, operator number, punctuation character or packed name
    bool Is(TokenKind k, int32_t v) const { return kind == k && value == v; }
};

class Scanner {
public:
    explicit Scanner(std::string_view text);

    Token Next();
    int Position() const { return pos_; } // bytes consumed so far

private:
    // The start-character map, built from the operator table on construction.
    struct Start {
        uint8_t op = 0;    // operator number, 0 none
        char follower = 0; // 0: none
        bool equalsFollows = false;
        bool needsFollower = false;
        bool punctuation = false;
    };
    char Peek(int ahead = 0) const;
    bool Delimits(char c) const;

    std::string_view text_;
    int pos_ = 0;
    Start map_[256];
};

} // namespace ff
