#include "core/KeyPresser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane {
namespace {

// A source whose events carry a flag of their own, so that keeping and replacing flags differ.
constexpr platform::EventFlags kSourceFlags = 0x100;

class MarkedSource : public platform::EventSource {
public:
    std::optional<platform::Event> createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const override
    {
        const auto type = keyDown ? platform::EventType::keyDown : platform::EventType::keyUp;
        return platform::Event{type, kSourceFlags, keyCode, 0, {}};
    }
};

class RecordingPoster : public platform::EventPoster {
public:
    std::shared_ptr<platform::EventSource> createEventSource(platform::EventSourceState state) override
    {
        states.push_back(state);
        return std::make_shared<MarkedSource>();
    }
    void post(const platform::Event& event) override
    {
        posted.push_back((event.type == platform::EventType::keyDown ? "down " : "up ") +
                         std::to_string(event.keyCode) + " " + std::to_string(event.flags));
    }
    platform::EventFlags modifierFlags() const override { return 0; }
    void warpMouseCursorPosition(platform::Point) override {}

    std::vector<platform::EventSourceState> states;
    std::vector<std::string> posted;
};

TEST(KeyPresserTest, PostsDownThenUpWithTheFlagsAsAskedFromOnePrivateSource)
{
    RecordingPoster poster;
    KeyPresser presser(poster);

    presser.press(53, 0x40000, false, KeyPresser::down | KeyPresser::up, false);
    presser.press(49, 0, false, KeyPresser::down, false);
    presser.press(49, 0, false, KeyPresser::up, true);
    presser.press(36, 0x100000, true, KeyPresser::down, true);
    presser.post(55, true);

    EXPECT_EQ(poster.posted, (std::vector<std::string>{"down 53 262144", "up 53 262144", "down 49 256",
                                                       "up 49 0", "down 36 256", "down 55 256"}));
    EXPECT_EQ(poster.states, std::vector{platform::EventSourceState::privateState});
}

}  // namespace
}  // namespace veltrane
