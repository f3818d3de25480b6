// Splits ActionScript source into tokens, tracking where each starts.
#pragma once

#include "AsAst.h"

#include <string>
#include <string_view>
#include <vector>

namespace swfw::as {

enum class TokenKind { Identifier, Keyword, Number, String, Punctuator, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // identifier, keyword or punctuator; a string's decoded value (UTF-8)
    double number = 0;
    SourcePos pos;
    bool newlineBefore = false; // a line break separates it from the previous token
};

// Throws AsSyntaxError on a character or literal it cannot read.
[[nodiscard]] std::vector<Token> tokenize(std::string_view source);

// A syntax error at a place in the source; what() reads "line L, column C: message".
[[noreturn]] void syntaxError(SourcePos pos, const std::string& message);

} // namespace swfw::as
