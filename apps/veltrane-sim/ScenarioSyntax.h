#pragma once

#include "platform/HidDevice.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::scenario {

// The words of a scenario line. Blanks separate words, except inside double quotes (with JSON
// escapes), which stay part of their word; "#" outside quotes starts a comment.
std::vector<std::string> splitWords(std::string_view line);

// Decimal or 0x hexadecimal, possibly negative.
std::int64_t parseInteger(std::string_view word);
// An integer, or a decimal number with a fraction or exponent, or nan or inf.
double parseNumber(std::string_view word);
// A HID location id. Locations are unsigned on real devices; a negative one stays signed, as a
// device of another kind would report it.
platform::HidProperty parseLocation(std::string_view word);
// vendor=, product= or location= of a HID device, added to its properties; false for any other
// option.
bool addHidProperty(std::string_view name, std::string_view value,
                    std::map<std::string, platform::HidProperty, std::less<>>& properties);
// yes or no, for the option or command of that name.
bool parseYesNo(std::string_view name, std::string_view word);
// A double-quoted text with JSON escapes.
std::string parseText(std::string_view word);

// Options of the form name=value, each name at most once and from the allowed set.
std::map<std::string, std::string, std::less<>> parseOptions(const std::vector<std::string>& words,
                                                             std::size_t first,
                                                             const std::vector<std::string_view>& allowed);

}  // namespace veltrane::scenario
