#include "platform/linux/road/KeyRoad.h"

namespace veltrane::linuxbackend {

std::shared_ptr<KeyRoad> KeyRoad::create(std::unique_ptr<KeyPipeline> pipeline, LinuxHidStack& hid,
                                         platform::Queue& mainQueue)
{
    return std::shared_ptr<KeyRoad>(new KeyRoad(std::move(pipeline), hid, mainQueue));
}

KeyRoad::KeyRoad(std::unique_ptr<KeyPipeline> pipeline, LinuxHidStack& hid, platform::Queue& mainQueue)
    : pipeline_(std::move(pipeline)), hid_(hid), mainQueue_(mainQueue)
{
}

void KeyRoad::add(Work work)
{
    if (push(std::move(work), true)) {
        // The task holds the road, as the main queue may run it after the input loop is gone.
        mainQueue_.async([road = shared_from_this()] { road->run(); });
    }
}

void KeyRoad::carry(Work work)
{
    push(std::move(work), false);
}

void KeyRoad::runCarried()
{
    run();
}

bool KeyRoad::push(Work work, bool schedule)
{
    const std::lock_guard guard(mutex_);
    if (closed_) {
        return false;
    }
    work_.push_back(std::move(work));
    return schedule && !std::exchange(scheduled_, true);
}

void KeyRoad::close()
{
    const std::lock_guard running(running_);
    {
        const std::lock_guard guard(mutex_);
        closed_ = true;
        work_.clear();
    }
    pipeline_->releaseAll();
}

void KeyRoad::run()
{
    const std::lock_guard running(running_);
    while (!closed_) {
        auto work = take();
        if (!work) {
            return;
        }
        process(*work);
    }
}

std::optional<KeyRoad::Work> KeyRoad::take()
{
    const std::lock_guard guard(mutex_);
    if (work_.empty()) {
        scheduled_ = false;
        return std::nullopt;
    }
    Work work = std::move(work_.front());
    work_.pop_front();
    return work;
}

void KeyRoad::process(Work& work)
{
    if (const auto* key = std::get_if<Key>(&work)) {
        pipeline_->key(key->keyboard, key->change);
    } else if (const auto* pointer = std::get_if<Pointer>(&work)) {
        pipeline_->pointer(pointer->report);
    } else if (const auto* gone = std::get_if<Gone>(&work)) {
        if (!gone->buttonsUp.empty()) {
            pipeline_->pointer(gone->buttonsUp);
        }
        if (gone->keyboard) {
            pipeline_->keyboardGone(gone->keyboard);
            hid_.disconnect(gone->keyboard);
        }
    } else if (auto* event = std::get_if<platform::Event>(&work)) {
        pipeline_->post(*event);
    } else if (const auto* touch = std::get_if<Touch>(&work)) {
        const auto report = touch->touchpad->deliverReport();
        pipeline_->touchpad(report, touch->touchpad->touching());
    } else {
        pipeline_->capsLockChanged();
    }
}

}  // namespace veltrane::linuxbackend
