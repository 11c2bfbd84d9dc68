#include "keyboard/UsageKeyCodes.h"

#include <map>

namespace veltrane {

std::optional<std::uint16_t> UsageKeyCodes::keyCode(std::int64_t usage)
{
    static const std::map<std::int64_t, std::uint16_t> codes = {
        {41, 53},  {224, 59},  {225, 56},  {226, 58},  {227, 55},  {228, 62}, {229, 60}, {230, 61}, {231, 54},
        {40, 36},  {42, 51},   {76, 117},  {43, 48},   {44, 49},   {74, 115}, {77, 119}, {75, 116}, {78, 121},
        {80, 123}, {79, 124},  {82, 126},  {81, 125},  {127, 74},  {128, 72}, {129, 73}, {58, 122}, {59, 120},
        {60, 99},  {61, 118},  {62, 96},   {63, 97},   {64, 98},   {65, 100}, {66, 101}, {67, 109}, {68, 103},
        {69, 111}, {104, 105}, {105, 107}, {106, 113}, {107, 106}, {108, 64}, {109, 79}, {110, 80}, {111, 90},
    };
    const auto found = codes.find(usage);
    return found == codes.end() ? std::nullopt : std::optional<std::uint16_t>(found->second);
}

}  // namespace veltrane
