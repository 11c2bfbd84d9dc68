#pragma once

#include <cstddef>
#include <string_view>

namespace veltrane::linuxbackend {

// Whether the text is UTF-8 (no overlong form, surrogate or code point beyond Unicode's) without a
// control character: what the desktop names an application by must be, as other programs may send
// anything. An identifier that is not UTF-8 cannot be saved among the settings, and a control
// character breaks the log line and the menu item that show a name.
bool isPrintableText(std::string_view text);

// The length of the UTF-8 sequence the text starts with, or 0 when it starts with none: a byte
// that begins no sequence, a sequence cut short, an overlong form, a surrogate or a code point
// beyond Unicode's.
std::size_t utf8SequenceLength(std::string_view text);

}  // namespace veltrane::linuxbackend
