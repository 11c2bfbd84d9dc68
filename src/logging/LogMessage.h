#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace logging {

// The text of one log call. A text that outlives the call (a literal, or a string the caller
// passed by reference) is borrowed rather than copied, so a call allocates nothing of its own
// until a destination queues it.
class LogMessage {
public:
    static LogMessage borrowed(std::string_view text) { return LogMessage(text); }
    static LogMessage owned(std::string text) { return LogMessage(std::move(text)); }

    std::string_view text() const { return borrowed_ ? borrowedText_ : std::string_view(owned_); }

private:
    explicit LogMessage(std::string_view text) : borrowedText_(text), borrowed_(true) {}
    explicit LogMessage(std::string text) : owned_(std::move(text)) {}

    std::string owned_;
    std::string_view borrowedText_;
    bool borrowed_ = false;
};

}  // namespace logging
