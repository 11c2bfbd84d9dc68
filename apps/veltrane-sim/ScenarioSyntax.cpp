#include "ScenarioSyntax.h"

#include "ScenarioError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>

namespace veltrane::scenario {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The position just past the closing quote of a quoted text that starts at begin.
std::size_t skipQuoted(std::string_view line, std::size_t begin)
{
    for (std::size_t i = begin + 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            return i + 1;
        }
    }
    throw ScenarioError("a text in double quotes is not closed");
}

std::string quotedWord(std::string_view word)
{
    return "'" + std::string(word) + "'";
}

}  // namespace

std::vector<std::string> splitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') {
            break;
        }
        const std::size_t begin = i;
        while (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
            i = line[i] == '"' ? skipQuoted(line, i) : i + 1;
        }
        words.emplace_back(line.substr(begin, i - begin));
    }
    return words;
}

std::int64_t parseInteger(std::string_view word)
{
    const bool negative = word.starts_with('-');
    std::string_view digits = negative ? word.substr(1) : word;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    const auto limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1u : 0u);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || magnitude > limit) {
        throw ScenarioError("malformed number " + quotedWord(word));
    }
    return negative ? static_cast<std::int64_t>(0u - magnitude) : static_cast<std::int64_t>(magnitude);
}

double parseNumber(std::string_view word)
{
    const std::string text(word);
    const bool hex = text.find("0x") != std::string::npos || text.find("0X") != std::string::npos;
    if (hex) {
        return static_cast<double>(parseInteger(word));
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) {
        throw ScenarioError("malformed number " + quotedWord(word));
    }
    return number;
}

platform::HidProperty parseLocation(std::string_view word)
{
    const std::int64_t location = parseInteger(word);
    return location < 0 ? platform::HidProperty{location}
                        : platform::HidProperty{static_cast<std::uint64_t>(location)};
}

bool addHidProperty(std::string_view name, std::string_view value,
                    std::map<std::string, platform::HidProperty, std::less<>>& properties)
{
    if (name == "vendor") {
        properties.emplace(platform::kHidVendorId, parseInteger(value));
    } else if (name == "product") {
        properties.emplace(platform::kHidProductId, parseInteger(value));
    } else if (name == "location") {
        properties.emplace(platform::kHidLocationId, parseLocation(value));
    } else {
        return false;
    }
    return true;
}

bool parseYesNo(std::string_view name, std::string_view word)
{
    if (word != "yes" && word != "no") {
        throw ScenarioError(std::string(name) + " takes yes or no, not '" + std::string(word) + "'");
    }
    return word == "yes";
}

std::string parseText(std::string_view word)
{
    if (!word.starts_with('"')) {
        throw ScenarioError("expected a text in double quotes, not " + quotedWord(word));
    }
    const auto json = nlohmann::json::parse(word, nullptr, false);
    if (!json.is_string()) {
        throw ScenarioError("malformed text " + std::string(word));
    }
    return json.get<std::string>();
}

std::map<std::string, std::string, std::less<>> parseOptions(const std::vector<std::string>& words,
                                                             std::size_t first,
                                                             const std::vector<std::string_view>& allowed)
{
    std::map<std::string, std::string, std::less<>> options;
    for (std::size_t i = first; i < words.size(); ++i) {
        const auto equals = words[i].find('=');
        const std::string name = words[i].substr(0, equals);
        if (equals == std::string::npos || std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            throw ScenarioError("unknown option " + quotedWord(words[i]));
        }
        if (!options.emplace(name, words[i].substr(equals + 1)).second) {
            throw ScenarioError("option '" + name + "' is given twice");
        }
    }
    return options;
}

}  // namespace veltrane::scenario
