#include "platform/sim/SimWindow.h"

#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

SimWindow::SimWindow(std::string identifier, Transcript& transcript, SimQueue& mainQueue)
    : identifier_(std::move(identifier)), transcript_(transcript), mainQueue_(mainQueue)
{
}

void SimWindow::record(const std::string& what)
{
    transcript_.record("window", identifier_ + " " + what);
}

void SimWindow::show()
{
    visible_ = true;
    record("shown");
}

void SimWindow::makeKey()
{
    record("key");
}

void SimWindow::close()
{
    if (visible_) {
        visible_ = false;
        record("closed");
    }
}

void SimWindow::deminiaturize()
{
    if (miniaturized_) {
        miniaturized_ = false;
        record("deminiaturized");
    }
}

void SimWindow::pressCloseButton()
{
    mainQueue_.async([this] {
        if (closeButtonAction_) {
            closeButtonAction_();
        } else {
            close();
        }
    });
}

}  // namespace veltrane::sim
