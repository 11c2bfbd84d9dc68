#pragma once

#include <string>
#include <string_view>

namespace logging {

// The Unicode rules that log lines and filters follow, on UTF-8 text.
class UnicodeText {
public:
    // User-perceived characters (extended grapheme clusters).
    static std::size_t characterCount(std::string_view text);
    // Appends text padded with spaces to width characters: in front for a positive width, behind
    // for a negative one; a longer text is never cut.
    static void appendPadded(std::string& out, std::string_view text, int width);
    // Removes what the regular expression "\s+$" matches: tab, newline, form feed, carriage return
    // and the separators of category Z.
    static void trimTrailingSpace(std::string& text);
    // Removes white space and newlines (category Z, U+0009 to U+000D, U+0085) at both ends.
    static std::string_view trimmed(std::string_view text);
    // The Unicode lower-case mapping, independent of the user's language.
    static std::string lowercased(std::string_view text);
};

}  // namespace logging
