#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string_view>

namespace veltrane {

// A touch's id as text. Held in place rather than on the heap, so that a frame's touches are made
// without allocating: the longest id the trackers make (a 64-bit id, ":" and the longest shortest
// form of a double) fits.
class StringId {
public:
    StringId() = default;
    // Text beyond the room is cut off.
    explicit StringId(std::string_view text);

    std::string_view view() const { return {text_.data(), size_}; }

    bool operator==(const StringId& other) const { return view() == other.view(); }
    friend bool operator==(const StringId& id, std::string_view text) { return id.view() == text; }

private:
    std::array<char, 47> text_{};
    std::uint8_t size_ = 0;
};

std::ostream& operator<<(std::ostream& out, const StringId& id);

}  // namespace veltrane
