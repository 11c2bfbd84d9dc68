#include "Completions.h"

#include "CommandLine.h"
#include "platform/linux/settings/SettingKeyName.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>

namespace veltrane {

namespace {

using linuxbackend::KeyVocabulary;
using linuxbackend::SettingKind;
using Words = std::vector<std::string>;

std::string joined(const Words& words)
{
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

void addOnce(Words& words, const std::string& word)
{
    if (std::ranges::find(words, word) == words.end()) {
        words.push_back(word);
    }
}

// The words of the commands' synopses at a position, after the given words; those in capitals stand
// for values and are left out.
Words commandWords(std::size_t position, const Words& before)
{
    Words words;
    for (const auto& command : CommandLine::commands()) {
        std::istringstream synopsis(command.synopsis);
        Words parts{std::istream_iterator<std::string>(synopsis), {}};
        parts.erase(parts.begin());
        if (parts.size() > position && std::equal(before.begin(), before.end(), parts.begin()) &&
            !std::isupper(static_cast<unsigned char>(parts[position].front())) && parts[position].front() != '[') {
            addOnce(words, parts[position]);
        }
    }
    return words;
}


}  // namespace

Completions::Completions(const linuxbackend::SettingsSchema& schema)
{
    Words keys;
    Words lists;
    Words switches;
    for (const auto& setting : schema.settings()) {
        keys.push_back(setting.key);
        if (setting.kind == SettingKind::textList) {
            lists.push_back(setting.key);
        }
        if (setting.kind == SettingKind::boolean || setting.kind == SettingKind::optionalBoolean) {
            switches.push_back(setting.key);
        }
        if (setting.help.keys != KeyVocabulary::none) {
            rules_.push_back({{{"config"}, {"set"}, {setting.key}}, linuxbackend::SettingKeyName::names(setting.help)});
        }
    }
    rules_.push_back({{}, commandWords(0, {})});
    rules_.push_back({{{"config"}}, commandWords(1, {"config"})});
    rules_.push_back({{{"config"}, {"describe", "get", "set", "reset", "unset"}}, keys});
    rules_.push_back({{{"config"}, {"add", "remove"}}, lists});
    rules_.push_back({{{"config"}, {"set"}, switches}, {"true", "false"}});
}

std::string Completions::bash() const
{
    std::string text = "# bash completion for veltrane\n"
                       "_veltrane_is() {\n"
                       "    local word=${COMP_WORDS[$1]} choice; shift\n"
                       "    for choice; do [[ $word == \"$choice\" ]] && return 0; done; return 1\n"
                       "}\n"
                       "_veltrane() {\n"
                       "    local choices=\n";
    for (const auto& rule : rules_) {
        text += "    if [[ $COMP_CWORD -eq " + std::to_string(rule.before.size() + 1) + " ]]";
        for (std::size_t index = 0; index < rule.before.size(); ++index) {
            text += " && _veltrane_is " + std::to_string(index + 1) + " " + joined(rule.before[index]);
        }
        text += "; then choices=\"" + joined(rule.choices) + "\"; fi\n";
    }
    return text + "    mapfile -t COMPREPLY < <(compgen -W \"$choices\" -- \"${COMP_WORDS[COMP_CWORD]}\")\n"
                  "}\n"
                  "complete -F _veltrane veltrane\n";
}

std::string Completions::zsh() const
{
    std::string text = "#compdef veltrane\n"
                       "_veltrane_is() { local word=${words[$1]}; shift; (( ${argv[(Ie)$word]} )) }\n"
                       "local -a choices\n";
    for (const auto& rule : rules_) {
        text += "if (( CURRENT == " + std::to_string(rule.before.size() + 2) + " ))";
        for (std::size_t index = 0; index < rule.before.size(); ++index) {
            text += " && _veltrane_is " + std::to_string(index + 2) + " " + joined(rule.before[index]);
        }
        text += "; then choices=(" + joined(rule.choices) + "); fi\n";
    }
    return text + "compadd -a choices\n";
}

std::string Completions::fish() const
{
    std::string text = "# fish completion for veltrane\n"
                       "complete -c veltrane -f\n";
    for (const auto& rule : rules_) {
        text += "complete -c veltrane -n 'set -l w (commandline -opc); test (count $w) -eq " +
                std::to_string(rule.before.size() + 1);
        for (std::size_t index = 0; index < rule.before.size(); ++index) {
            text += "; and contains -- $w[" + std::to_string(index + 2) + "] " + joined(rule.before[index]);
        }
        text += "' -a '" + joined(rule.choices) + "'\n";
    }
    return text;
}

}  // namespace veltrane
