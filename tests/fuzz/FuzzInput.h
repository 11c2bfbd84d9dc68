#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::fuzz {

// A broken invariant: says which and stops the fuzzer, which keeps the input.
[[noreturn]] inline void fail(const std::string& what)
{
    // Whole, though it may hold a NUL from the input.
    std::fwrite(what.data(), 1, what.size(), stderr);
    std::fputc('\n', stderr);
    std::abort();
}

// The bytes as the texts between separators: one text when there is none.
inline std::vector<std::string> split(const std::uint8_t* data, std::size_t size, char separator = '\0')
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts;
    for (std::size_t start = 0; start <= bytes.size();) {
        const auto end = std::min(bytes.find(separator, start), bytes.size());
        texts.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

// The fuzzer's bytes, read in order as the parts of a message. Past the end each part is zero or
// empty, so that any bytes make a message.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : left_(reinterpret_cast<const char*>(data), size)
    {
    }

    bool empty() const { return left_.empty(); }

    std::uint8_t byte() { return static_cast<std::uint8_t>(take(1).empty() ? 0 : taken_.front()); }

    // Four bytes, or as many as asked, the lowest first.
    std::uint32_t word(std::size_t bytes = 4)
    {
        std::uint32_t value = 0;
        int shift = 0;
        for (const char part : take(bytes)) {
            value |= std::uint32_t{static_cast<unsigned char>(part)} << shift;
            shift += 8;
        }
        return value;
    }

    // A length byte, then that many bytes.
    std::string text() { return std::string(take(byte())); }

private:
    std::string_view take(std::size_t count)
    {
        taken_ = left_.substr(0, count);
        left_.remove_prefix(taken_.size());
        return taken_;
    }

    std::string_view left_;
    std::string_view taken_;
};

}  // namespace veltrane::fuzz
