#pragma once

#include "platform/Windows.h"

#include <string>

namespace veltrane::sim {

class SimQueue;
class Transcript;

// A window of one process. The user's actions on it (its close button, the minimise button)
// are the desktop's calls below.
class SimWindow final : public platform::Window {
public:
    SimWindow(std::string identifier, Transcript& transcript, SimQueue& mainQueue);

    void show() override;
    void makeKey() override;
    void close() override;
    bool isMiniaturized() const override { return miniaturized_; }
    void deminiaturize() override;
    void setCloseButtonAction(std::function<void()> action) override
    {
        closeButtonAction_ = std::move(action);
    }

    const std::string& identifier() const { return identifier_; }
    // The user clicks the close button: its action runs on the main queue, or the window closes.
    void pressCloseButton();
    void miniaturize() { miniaturized_ = true; }

private:
    void record(const std::string& what);

    std::string identifier_;
    Transcript& transcript_;
    SimQueue& mainQueue_;
    std::function<void()> closeButtonAction_;
    bool visible_ = false;
    bool miniaturized_ = false;
};

}  // namespace veltrane::sim
