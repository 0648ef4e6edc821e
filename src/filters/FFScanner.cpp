#include "filters/FFScanner.h"

#include "filters/FFTables.h"

namespace ff {

Scanner::Scanner(std::string_view text) : text_(text) {
    if (const auto zero = text_.find('\0'); zero != std::string_view::npos)
        text_ = text_.substr(0, zero);
    for (int n = 1; n <= kOperatorCount; ++n) {
        const char* entry = kOperatorTable[n - 1] + 1;
        Start& s = map_[uint8_t(entry[0])];
        if (s.op == 0) {
            s.op = uint8_t(n);
            s.follower = entry[1];
            s.needsFollower = entry[1] != 0;
        } else if (entry[1] == '=') {
            s.equalsFollows = true;
        } else {
            s.follower = entry[1];
        }
    }
    for (char c : std::string_view("()?:,~")) map_[uint8_t(c)].punctuation = true;
}

char Scanner::Peek(int ahead) const {
    const size_t at = size_t(pos_) + size_t(ahead);
    return at < text_.size() ? text_[at] : '\0';
}

bool Scanner::Delimits(char c) const {
    const Start& s = map_[uint8_t(c)];
    return c == '\0' || c == ' ' || (c >= '\t' && c <= '\r') || s.op != 0 || s.punctuation;
}

Token Scanner::Next() {
    for (char c = Peek(); c == ' ' || (c >= '\t' && c <= '\r'); c = Peek()) ++pos_;
    const char c = Peek();
    if (c == '\0') return {TokenKind::End, 0};
    if (c >= '0' && c <= '9') {
        uint32_t value = 0;
        if (c == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
            pos_ += 2;
            for (;;) {
                const char h = Peek();
                int digit;
                if (h >= '0' && h <= '9')
                    digit = h - '0';
                else if (h >= 'a' && h <= 'f')
                    digit = h - 'a' + 10;
                else if (h >= 'A' && h <= 'F')
                    digit = h - 'A' + 10;
                else
                    break;
                value = (value << 4) | uint32_t(digit);
                ++pos_;
            }
        } else {
            while (Peek() >= '0' && Peek() <= '9')
                value = value * 10u + uint32_t(Peek() - '0'), ++pos_;
        }
        return {TokenKind::Number, int32_t(value)};
    }
    const Start& s = map_[uint8_t(c)];
    if (s.punctuation) {
        ++pos_;
        return {TokenKind::Punctuation, c};
    }
    if (s.op != 0) {
        ++pos_;
        const char next = Peek();
        if (s.needsFollower) {
            if (next == s.follower) {
                ++pos_;
                return {TokenKind::Operator, s.op};
            }
            if (s.equalsFollows && next == '=') {
                ++pos_;
                return {TokenKind::Operator, s.op + 1};
            }
            return {TokenKind::Identifier, int32_t(Pack(&c, 1))};
        }
        // A follower of 0 is no follower: the end of the text is never taken for one.
        if (s.follower != 0 && next == s.follower) {
            ++pos_;
            return {TokenKind::Operator, s.op + 1};
        }
        if (s.equalsFollows && next == '=') {
            ++pos_;
            return {TokenKind::Operator, s.op + 2};
        }
        return {TokenKind::Operator, s.op};
    }
    const int start = pos_;
    ++pos_;
    while (!Delimits(Peek())) ++pos_;
    return {TokenKind::Identifier, int32_t(Pack(text_.data() + start, pos_ - start))};
}

} // namespace ff
