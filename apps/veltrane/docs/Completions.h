#pragma once

#include "platform/linux/settings/SettingsSchema.h"

#include <string>
#include <vector>

namespace veltrane {

// The shell completions of the veltrane program, made from its commands and its settings, so that they
// offer what --help lists and what the settings take.
class Completions {
public:
    explicit Completions(const linuxbackend::SettingsSchema& schema);

    std::string bash() const;
    std::string zsh() const;
    std::string fish() const;

private:
    // The words offered at a position: when each word before it (after "veltrane") is one of its
    // alternatives; no alternatives stand for any word.
    struct Rule {
        std::vector<std::vector<std::string>> before;
        std::vector<std::string> choices;
    };

    std::vector<Rule> rules_;
};

}  // namespace veltrane
