#include "gui/preferences/PreferenceChoices.h"

#include "keyboard/PhysicalKey.h"

#include <QWidget>

#include <array>

namespace veltrane::gui {

namespace {

// F1 to F12 and F13 to F24 sit in two runs of HID usages.
constexpr std::int64_t kF1 = 0x3A;
constexpr std::int64_t kF13 = 0x68;
// Caps lock, eight modifiers, the menu key and 24 function keys.
constexpr std::size_t kPhysicalKeys = 34;

void addFunctionKeys(std::vector<PreferenceChoice>& choices)
{
    for (std::int64_t number = 1; number <= 24; ++number) {
        const auto usage = number <= 12 ? kF1 + number - 1 : kF13 + number - 13;
        choices.push_back({QStringLiteral("F%1").arg(number), usage});
    }
}

std::vector<PreferenceChoice> makeCapsLockRemap()
{
    std::vector<PreferenceChoice> choices = {
        {"esc", 41},
        {"nothing (disable it)", -1},
        {"left control", 224},
        {"left shift", 225},
        {"left option", 226},
        {"left command", 227},
        {"right control", 228},
        {"right shift", 229},
        {"right option", 230},
        {"right command", 231},
        {"return (enter)", 40},
        {"delete (backspace)", 42},
        {"delete forward", 76},
        {"tab", 43},
        {"spacebar", 44},
        {"home", 74},
        {"end", 77},
        {"pageup", 75},
        {"pagedown", 78},
        {"left arrow", 80},
        {"right arrow", 79},
        {"up arrow", 82},
        {"down arrow", 81},
        {"mute", 127},
        {"volume up", 128},
        {"volume down", 129},
    };
    addFunctionKeys(choices);
    return choices;
}

// The engine's list decides which usages can be the hyper key and in which order; the titles name
// the keys as a Linux keyboard labels them, with the chord's names beside.
std::vector<PreferenceChoice> makePhysicalKeys()
{
    const std::array<QString, PhysicalKey::kFirstNonModifier + 1> titles = {
        QWidget::tr("Caps Lock"),
        QWidget::tr("Right Alt"),
        QWidget::tr("Right Super"),
        QWidget::tr("Right Shift"),
        QWidget::tr("Right Control"),
        QWidget::tr("Left Alt"),
        QWidget::tr("Left Super"),
        QWidget::tr("Left Shift"),
        QWidget::tr("Left Control"),
        QWidget::tr("Menu"),
    };
    std::vector<PreferenceChoice> byKind(kPhysicalKeys);
    for (std::int64_t usage = 0; usage <= 0xFF; ++usage) {
        if (const auto kind = PhysicalKey::kind(usage); kind && *kind < byKind.size()) {
            byKind[*kind].tag = usage;
        }
    }
    for (std::size_t kind = 0; kind < byKind.size(); ++kind) {
        byKind[kind].title = kind < titles.size()
                                 ? titles[kind]
                                 : QStringLiteral("F%1").arg(kind - PhysicalKey::kFirstNonModifier);
    }
    return byKind;
}

std::vector<PreferenceChoice> makeQuickPressKeys()
{
    std::vector<PreferenceChoice> choices = {
        {QWidget::tr("None (toggles Caps Lock)"), 0},
        {QWidget::tr("Escape"), 53},
        {QWidget::tr("Return"), 36},
        {QWidget::tr("Tab"), 48},
        {QWidget::tr("Space"), 49},
        {QWidget::tr("Backspace"), 51},
        {QWidget::tr("Delete"), 117},
    };
    static constexpr std::array<std::int64_t, 8> f13ToF20 = {105, 107, 113, 106, 64, 79, 80, 90};
    for (std::size_t index = 0; index < f13ToF20.size(); ++index) {
        choices.push_back({QStringLiteral("F%1").arg(13 + index), f13ToF20[index]});
    }
    return choices;
}

}  // namespace

const std::vector<PreferenceChoice>& PreferenceChoices::capsLockRemap()
{
    static const auto choices = makeCapsLockRemap();
    return choices;
}

const std::vector<PreferenceChoice>& PreferenceChoices::physicalKeys()
{
    static const auto choices = makePhysicalKeys();
    return choices;
}

const std::vector<PreferenceChoice>& PreferenceChoices::quickPressKeys()
{
    static const auto choices = makeQuickPressKeys();
    return choices;
}

const std::vector<PreferenceChoice>& PreferenceChoices::slides()
{
    static const std::vector<PreferenceChoice> choices = {
        {QWidget::tr("From the top left corner"), 1},    {QWidget::tr("From the top right corner"), 2},
        {QWidget::tr("From the bottom left corner"), 4}, {QWidget::tr("From the bottom right corner"), 8},
        {QWidget::tr("Down from the top edge"), 16},
    };
    return choices;
}

}  // namespace veltrane::gui
