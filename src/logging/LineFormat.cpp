#include "logging/LineFormat.h"

#include <charconv>
#include <limits>
#include <utility>

namespace logging {

namespace {

constexpr std::string_view knownTokens = "ILMTNnFlDdZzUCcX";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The padding at the start of a group and how many characters it takes; a "-" without digits is
// no padding but the group's token.
std::pair<int, std::size_t> readPadding(std::string_view piece)
{
    const std::size_t signLength = (!piece.empty() && piece.front() == '-') ? 1 : 0;
    std::size_t end = signLength;
    while (end < piece.size() && isDigit(piece[end])) {
        ++end;
    }
    if (end == signLength) {
        return {0, 0};
    }
    long value = 0;
    const auto result = std::from_chars(piece.data() + signLength, piece.data() + end, value);
    if (result.ec != std::errc() || value > std::numeric_limits<int>::max()) {
        value = std::numeric_limits<int>::max();
    }
    const auto padding = static_cast<int>(value);
    return {signLength == 1 ? -padding : padding, end};
}

}  // namespace

LineFormat::LineFormat(std::string_view format) : source_(format)
{
    std::string_view remaining = format;
    std::string_view piece = "I";
    while (true) {
        const auto dollar = remaining.find('$');
        std::string pieceText(piece);
        pieceText += remaining.substr(0, dollar);
        if (!pieceText.empty()) {
            addPiece(parsePiece(pieceText));
        }
        if (dollar == std::string_view::npos) {
            break;
        }
        remaining.remove_prefix(dollar + 1);
        piece = {};
    }
}

// Groups that only pass their rest through are joined, and empty ones dropped: fewer pieces to render.
void LineFormat::addPiece(Piece piece)
{
    const bool passesRest = piece.token == 'I' || piece.token == 'd' || piece.token == 'z';
    if (passesRest && piece.rest.empty()) {
        return;
    }
    if (passesRest && !pieces_.empty() && pieces_.back().token == 'I') {
        pieces_.back().rest += piece.rest;
        return;
    }
    if (passesRest) {
        piece.token = 'I';
    }
    pieces_.push_back(std::move(piece));
}

// A group whose token has no meaning (or that has no token) comes out whole, as the rest of an "I".
LineFormat::Piece LineFormat::parsePiece(std::string_view piece)
{
    const auto [padding, length] = readPadding(piece);
    const auto tokenAndRest = piece.substr(length);
    if (tokenAndRest.empty() || knownTokens.find(tokenAndRest.front()) == std::string_view::npos) {
        return {'I', 0, std::string(piece)};
    }
    return {tokenAndRest.front(), padding, std::string(tokenAndRest.substr(1))};
}

}  // namespace logging
