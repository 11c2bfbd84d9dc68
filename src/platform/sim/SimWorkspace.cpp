#include "platform/sim/SimWorkspace.h"

#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

#include <algorithm>

namespace veltrane::sim {

SimWorkspace::SimWorkspace(Transcript& transcript,
                           const std::optional<platform::RunningApplication>& frontmost, SimQueue& mainQueue)
    : transcript_(transcript), frontmost_(frontmost), mainQueue_(mainQueue)
{
}

bool SimWorkspace::openURL(const std::string& url)
{
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    transcript_.record("open", url);
    return true;
}

platform::Workspace::Token SimWorkspace::observe(platform::WorkspaceNotification notification,
                                                 Handler handler)
{
    observers_.push_back(Observer{nextToken_, notification, std::move(handler)});
    return nextToken_++;
}

void SimWorkspace::removeObserver(Token token)
{
    std::erase_if(observers_, [&](const Observer& observer) { return observer.token == token; });
}

bool SimWorkspace::isObserving(Token token) const
{
    return std::any_of(observers_.begin(), observers_.end(),
                       [&](const Observer& observer) { return observer.token == token; });
}

void SimWorkspace::notify(platform::WorkspaceNotification notification,
                          const std::optional<platform::RunningApplication>& application)
{
    for (const Observer& observer : observers_) {
        if (observer.notification == notification) {
            mainQueue_.async([this, token = observer.token, handler = observer.handler, application] {
                if (isObserving(token)) {
                    handler(application);
                }
            });
        }
    }
}

}  // namespace veltrane::sim
