#include "KeyNames.h"

#include "ScenarioError.h"
#include "ScenarioSyntax.h"
#include "platform/KeyTable.h"

#include <cstdint>
#include <limits>
#include <string>

namespace veltrane::scenario {

namespace {

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
    if (const auto* key = platform::KeyTable::byName(word)) {
        return {key->usagePage, key->usage};
    }
    const bool numeric = !word.empty() && (word[0] == '-' || (word[0] >= '0' && word[0] <= '9'));
    if (!numeric) {
        throw ScenarioError("unknown key name '" + std::string(word) + "'");
    }
    if (const auto colon = word.find(':'); colon != std::string_view::npos) {
        return {parseUsage(word.substr(0, colon), word), parseUsage(word.substr(colon + 1), word)};
    }
    return {platform::KeyTable::kKeyboardPage, parseUsage(word, word)};
}

}  // namespace veltrane::scenario
