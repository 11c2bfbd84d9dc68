#include "platform/KeyTable.h"

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

namespace veltrane::platform {
namespace {

// Each column that names a key names one key, and looking the key up by it finds that row. The Linux
// column holds what the kernel calls the key: libevdev, which knows the kernel's names, must give
// that value to the name hid-input sends for the usage, which the test spells out for the keys whose
// name is not the scenario name in capitals.
TEST(KeyTableTest, EveryColumnFindsItsOwnRowAndNoOtherAndTheLinuxColumnHoldsTheKernelsCodes)
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
        std::string kernelName = "KEY_" + std::string(key.name);
        std::ranges::transform(kernelName, kernelName.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (const auto found = spelledOut.find(key.name); found != spelledOut.end()) {
            kernelName = found->second;
        }
        EXPECT_EQ(libevdev_event_code_from_name(EV_KEY, kernelName.c_str()), key.linuxCode);
    }
    EXPECT_EQ(KeyTable::byUsage(KeyTable::kKeyboardPage, 0x03), nullptr);
    EXPECT_EQ(KeyTable::byKeyCode(0x7F), nullptr);
    EXPECT_EQ(KeyTable::byLinuxCode(0), nullptr);
    EXPECT_EQ(KeyTable::byName("capslok"), nullptr);
}

}  // namespace
}  // namespace veltrane::platform
