#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veltrane::linuxbackend {

// How the value of a setting that holds a key is read and shown: by the key's name rather than its number.
enum class KeyVocabulary {
    none,
    // A usage of the keyboard page, as the keyboard reports the key.
    usage,
    // The key code of the event stream.
    keyCode,
};

// What a setting means to a person, for the command line's help, the manual page and the completions.
struct SettingHelp {
    std::string meaning;
    std::string unit;
    // What is in force while the setting is not set, as the file writes it; empty where that is nothing.
    std::string absent;
    KeyVocabulary keys = KeyVocabulary::none;
    // The value that stands for no key at all, read and shown as "none".
    std::optional<std::int64_t> noKey;
};

}  // namespace veltrane::linuxbackend
