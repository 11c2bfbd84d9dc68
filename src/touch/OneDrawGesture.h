#pragma once

#include <cstdint>

namespace veltrane {

// The slide gestures, as a set of options over an integer (the setting `gestures` holds one):
// a slide from one of the four corners, or down from the band along the top edge.
struct OneDrawGesture {
    std::int64_t rawValue = 0;

    static const OneDrawGesture topLeftCorner;
    static const OneDrawGesture topRightCorner;
    static const OneDrawGesture bottomLeftCorner;
    static const OneDrawGesture bottomRightCorner;
    static const OneDrawGesture slideDown;

    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(OneDrawGesture other) const
    {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr OneDrawGesture subtracting(OneDrawGesture other) const { return {rawValue & ~other.rawValue}; }
    constexpr OneDrawGesture operator|(OneDrawGesture other) const { return {rawValue | other.rawValue}; }
    constexpr OneDrawGesture operator&(OneDrawGesture other) const { return {rawValue & other.rawValue}; }
    bool operator==(const OneDrawGesture&) const = default;
};

inline constexpr OneDrawGesture OneDrawGesture::topLeftCorner{1};
inline constexpr OneDrawGesture OneDrawGesture::topRightCorner{2};
inline constexpr OneDrawGesture OneDrawGesture::bottomLeftCorner{4};
inline constexpr OneDrawGesture OneDrawGesture::bottomRightCorner{8};
inline constexpr OneDrawGesture OneDrawGesture::slideDown{16};

}  // namespace veltrane
