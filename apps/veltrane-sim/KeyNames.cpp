#include "KeyNames.h"

#include "ScenarioError.h"
#include "ScenarioSyntax.h"

#include <cstdint>
#include <limits>
#include <map>
#include <string>

namespace veltrane::scenario {

namespace {

constexpr std::uint32_t kKeyboardPage = 7;

std::map<std::string, std::uint32_t, std::less<>> makeNames()
{
    std::map<std::string, std::uint32_t, std::less<>> names = {
        {"0", 0x27},        {"return", 0x28}, {"escape", 0x29},   {"backspace", 0x2A},
        {"tab", 0x2B},      {"space", 0x2C},  {"capslock", 0x39}, {"application", 0x65},
        {"home", 0x4A},     {"pageup", 0x4B}, {"delete", 0x4C},   {"end", 0x4D},
        {"pagedown", 0x4E}, {"right", 0x4F},  {"left", 0x50},     {"down", 0x51},
        {"up", 0x52},       {"mute", 0x7F},   {"volumeup", 0x80}, {"volumedown", 0x81},
        {"lctrl", 0xE0},    {"lshift", 0xE1}, {"lopt", 0xE2},     {"lcmd", 0xE3},
        {"rctrl", 0xE4},    {"rshift", 0xE5}, {"ropt", 0xE6},     {"rcmd", 0xE7},
    };
    for (std::uint32_t i = 0; i < 26; ++i) {
        names.emplace(std::string(1, static_cast<char>('a' + i)), 0x04 + i);
    }
    for (std::uint32_t i = 1; i <= 9; ++i) {
        names.emplace(std::to_string(i), 0x1E + i - 1);
    }
    for (std::uint32_t i = 1; i <= 24; ++i) {
        names.emplace("f" + std::to_string(i), i <= 12 ? 0x3A + i - 1 : 0x68 + i - 13);
    }
    return names;
}

std::uint32_t parseUsage(std::string_view word, std::string_view whole)
{
    const std::int64_t number = parseInteger(word);
    if (number < 0 || number > std::numeric_limits<std::uint32_t>::max()) {
        throw ScenarioError("key " + std::string(whole) + " is out of range");
    }
    return static_cast<std::uint32_t>(number);
}

}  // namespace

sim::HidKey parseKey(std::string_view word)
{
    static const auto names = makeNames();
    if (const auto found = names.find(word); found != names.end()) {
        return {kKeyboardPage, found->second};
    }
    const bool numeric = !word.empty() && (word[0] == '-' || (word[0] >= '0' && word[0] <= '9'));
    if (!numeric) {
        throw ScenarioError("unknown key name '" + std::string(word) + "'");
    }
    if (const auto colon = word.find(':'); colon != std::string_view::npos) {
        return {parseUsage(word.substr(0, colon), word), parseUsage(word.substr(colon + 1), word)};
    }
    return {kKeyboardPage, parseUsage(word, word)};
}

}  // namespace veltrane::scenario
