#pragma once

#include "platform/Queue.h"
#include "platform/Workspace.h"

#include <atomic>

namespace veltrane::linuxbackend {

// The workspace of a program with no desktop session to ask: it knows of no application, opens
// nothing, and none of its notifications ever comes.
class NoWorkspace final : public platform::Workspace {
public:
    explicit NoWorkspace(platform::Queue& mainQueue) : mainQueue_(mainQueue) {}

    std::optional<platform::RunningApplication> frontmostApplication() const override { return std::nullopt; }
    std::vector<platform::RunningApplication> runningApplications() const override { return {}; }
    std::optional<std::string> urlForApplication(const std::string&) const override { return std::nullopt; }
    bool openURL(const std::string&) override { return false; }
    // The completion hears, on the main queue, that nothing could open it.
    void openApplication(const std::string& path, const std::vector<std::string>& arguments,
                         OpenCompletion completion) override;

    Token observe(platform::WorkspaceNotification, Handler) override { return nextToken_++; }
    void removeObserver(Token) override {}

private:
    platform::Queue& mainQueue_;
    std::atomic<Token> nextToken_ = 1;
};

}  // namespace veltrane::linuxbackend
