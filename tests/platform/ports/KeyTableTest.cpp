#include "platform/KeyTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace veltrane::platform {
namespace {

// The kernel's KEY_* names and values, read from the header the build found: the lines
// "#define KEY_NAME value" whose value is a number.
std::multimap<int, std::string> kernelKeyNames()
{
    std::ifstream header(VELTRANE_INPUT_EVENT_CODES);
    std::multimap<int, std::string> names;
    for (std::string line; std::getline(header, line);) {
        std::istringstream words(line);
        std::string define;
        std::string name;
        std::string value;
        words >> define >> name >> value;
        if (define == "#define" && name.starts_with("KEY_") && !value.empty() &&
            std::isdigit(value[0]) != 0) {
            names.emplace(std::stoi(value, nullptr, 0), name);
        }
    }
    return names;
}

// Each column that names a key names one key, and looking the key up by it finds that row.
TEST(KeyTableTest, EveryColumnFindsItsOwnRowAndNoOther)
{
    std::set<std::pair<std::uint32_t, std::uint32_t>> usages;
    std::set<std::uint16_t> keyCodes;
    std::set<std::uint16_t> linuxCodes;
    std::set<std::string_view> names;
    for (const auto& key : KeyTable::keys()) {
        SCOPED_TRACE(std::string(key.name));
        EXPECT_TRUE(usages.emplace(key.usagePage, key.usage).second);
        EXPECT_TRUE(linuxCodes.insert(key.linuxCode).second);
        EXPECT_TRUE(names.insert(key.name).second);
        EXPECT_EQ(KeyTable::byUsage(key.usagePage, key.usage), &key);
        EXPECT_EQ(KeyTable::byLinuxCode(key.linuxCode), &key);
        EXPECT_EQ(KeyTable::byName(key.name), &key);
        if (key.keyCode) {
            EXPECT_TRUE(keyCodes.insert(*key.keyCode).second);
            EXPECT_EQ(KeyTable::byKeyCode(*key.keyCode), &key);
        }
    }
    EXPECT_EQ(KeyTable::byUsage(KeyTable::kKeyboardPage, 0x03), nullptr);
    EXPECT_EQ(KeyTable::byKeyCode(0x7F), nullptr);
    EXPECT_EQ(KeyTable::byLinuxCode(0), nullptr);
    EXPECT_EQ(KeyTable::byName("capslok"), nullptr);
}

// The Linux column holds what the kernel calls the key: the name its header gives that value
// must be the one hid-input sends for the usage, which the test spells out for the keys whose
// name is not the scenario name in capitals.
TEST(KeyTableTest, LinuxCodesAreTheKernelsNamesForTheKeys)
{
    const std::map<std::string_view, std::string> spelledOut = {
        {"return", "KEY_ENTER"},          {"escape", "KEY_ESC"},
        {"leftbracket", "KEY_LEFTBRACE"}, {"rightbracket", "KEY_RIGHTBRACE"},
        {"quote", "KEY_APOSTROPHE"},      {"period", "KEY_DOT"},
        {"printscreen", "KEY_SYSRQ"},     {"intlbackslash", "KEY_102ND"},
        {"application", "KEY_COMPOSE"},   {"intlro", "KEY_RO"},
        {"intlyen", "KEY_YEN"},           {"lang1", "KEY_HANGEUL"},
        {"lang2", "KEY_HANJA"},           {"lctrl", "KEY_LEFTCTRL"},
        {"lshift", "KEY_LEFTSHIFT"},      {"lopt", "KEY_LEFTALT"},
        {"lcmd", "KEY_LEFTMETA"},         {"rctrl", "KEY_RIGHTCTRL"},
        {"rshift", "KEY_RIGHTSHIFT"},     {"ropt", "KEY_RIGHTALT"},
        {"rcmd", "KEY_RIGHTMETA"},
    };
    const auto kernel = kernelKeyNames();
    ASSERT_GT(kernel.size(), 200u) << "cannot read " << VELTRANE_INPUT_EVENT_CODES;
    for (const auto& key : KeyTable::keys()) {
        std::string expected = "KEY_";
        for (const char c : key.name) {
            expected += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (const auto found = spelledOut.find(key.name); found != spelledOut.end()) {
            expected = found->second;
        }
        const auto [first, last] = kernel.equal_range(key.linuxCode);
        std::set<std::string> namesOfCode;
        for (auto it = first; it != last; ++it) {
            namesOfCode.insert(it->second);
        }
        EXPECT_TRUE(namesOfCode.contains(expected)) << key.name << " has Linux code " << key.linuxCode;
    }
}

}  // namespace
}  // namespace veltrane::platform
