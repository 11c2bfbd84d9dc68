#pragma once

#include "logging/MessageText.h"

#include <memory>

namespace logging {

// A borrowed reference to the caller's message expression, produced only when it is asked for.
// Cheaper than a std::function: it never allocates, and it lives only as long as the log call.
class DeferredMessage {
public:
    template <typename Producer>
    explicit DeferredMessage(Producer& producer)
        : producer_(std::addressof(producer)), produce_([](const void* erased) {
              return MessageText::describe((*static_cast<Producer*>(const_cast<void*>(erased)))());
          })
    {
    }

    LogMessage operator()() const { return produce_(producer_); }

private:
    const void* producer_;
    LogMessage (*produce_)(const void*);
};

}  // namespace logging
