#pragma once

#include "FuzzInput.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrane::fuzz {

// Writes into a message the arguments of any signature, their values, an array's length and a
// variant's signature among them, taken from the fuzzer's bytes. What sd-bus refuses (a signature
// that does not parse, an invalid object path, text that is not UTF-8) ends the writing.
class BusMessageWriter {
public:
    BusMessageWriter(sd_bus_message* message, FuzzInput& input, int descriptor)
        : message_(message), input_(input), descriptor_(descriptor)
    {
    }

    // False when the arguments could not be written.
    bool write(std::string_view signature)
    {
        for (std::size_t length = 0; !signature.empty(); signature.remove_prefix(length)) {
            length = completeType(signature, 0);
            if (length == 0 || !writeOne(signature.substr(0, length))) {
                return false;
            }
        }
        return true;
    }

private:
    // The length of the complete type the signature starts with; 0 when it starts with none.
    static std::size_t completeType(std::string_view signature, int depth)
    {
        if (signature.empty() || depth > 64) {
            return 0;
        }
        if (signature[0] == 'a') {
            const auto element = completeType(signature.substr(1), depth + 1);
            return element == 0 ? 0 : 1 + element;
        }
        if (signature[0] != '(' && signature[0] != '{') {
            return std::string_view("ybnqiuxtdsoghv").find(signature[0]) != std::string_view::npos ? 1 : 0;
        }
        const char end = signature[0] == '(' ? ')' : '}';
        std::size_t at = 1;
        for (std::size_t inner = 1; at < signature.size() && signature[at] != end && inner != 0;
             at += inner) {
            inner = completeType(signature.substr(at), depth + 1);
        }
        return at < signature.size() && signature[at] == end ? at + 1 : 0;
    }

    bool writeOne(std::string_view type)
    {
        if (type[0] == 'a') {
            // Within a budget of values, so that nested arrays stay small.
            const int count = values_ < 256 ? input_.byte() % 4 : 0;
            return open('a', type.substr(1), [&] {
                bool written = true;
                for (int i = 0; i < count && written; ++i) {
                    written = writeOne(type.substr(1));
                }
                return written;
            });
        }
        if (type[0] == '(' || type[0] == '{') {
            const auto inner = type.substr(1, type.size() - 2);
            return open(type[0] == '(' ? 'r' : 'e', inner, [&] { return write(inner); });
        }
        if (type[0] == 'v') {
            const auto contents = input_.text();
            return open('v', contents, [&] { return write(contents); });
        }
        ++values_;
        return writeBasic(type[0]);
    }

    template <typename Contents> bool open(char kind, std::string_view contents, Contents&& writeContents)
    {
        return sd_bus_message_open_container(message_, kind, std::string(contents).c_str()) >= 0 &&
               writeContents() && sd_bus_message_close_container(message_) >= 0;
    }

    // Integers take the low bytes of a word or two, which this little-endian machine stores first.
    bool writeBasic(char type)
    {
        if (type == 's' || type == 'o' || type == 'g') {
            return sd_bus_message_append_basic(message_, type, input_.text().c_str()) >= 0;
        }
        std::uint64_t number = input_.word();
        if (type == 'x' || type == 't' || type == 'd') {
            number |= std::uint64_t{input_.word()} << 32;
        }
        const int truth = number != 0 ? 1 : 0;
        const void* value = type == 'h'   ? static_cast<const void*>(&descriptor_)
                            : type == 'b' ? static_cast<const void*>(&truth)
                                          : static_cast<const void*>(&number);
        return sd_bus_message_append_basic(message_, type, value) >= 0;
    }

    sd_bus_message* message_;
    FuzzInput& input_;
    int descriptor_;
    int values_ = 0;
};

}  // namespace veltrane::fuzz
