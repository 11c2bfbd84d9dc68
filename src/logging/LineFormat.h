#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace logging {

// A line format cut once into its token groups, so that a line is rendered without parsing.
// Each "$" starts a group: an optional padding ("-" and digits), one token character and the rest
// of the group; the text before the first "$" is the rest of an "I" group.
class LineFormat {
public:
    struct Piece {
        char token;
        int padding;
        std::string rest;
    };

    explicit LineFormat(std::string_view format);

    const std::string& source() const { return source_; }
    const std::vector<Piece>& pieces() const { return pieces_; }

private:
    static Piece parsePiece(std::string_view piece);
    void addPiece(Piece piece);

    std::string source_;
    std::vector<Piece> pieces_;
};

}  // namespace logging
