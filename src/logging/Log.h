#pragma once

// The log calls of the application: LOGGING_INFO("Open: " + std::to_string(result)). The expression
// is evaluated at most once, and only when a destination takes the call or a message filter needs
// it; the call site's file, function and line come along.

#include "logging/Level.h"
#include "logging/Logging.h"

#define LOGGING_AT(level, ...)                                                                               \
    ::logging::Logging::log(                                                                                 \
        level, [&]() -> decltype(auto) { return (__VA_ARGS__); },                                            \
        ::logging::CallSite{__FILE__, __func__, __LINE__})

#define LOGGING_VERBOSE(...) LOGGING_AT(::logging::Level::verbose, __VA_ARGS__)
#define LOGGING_DEBUG(...) LOGGING_AT(::logging::Level::debug, __VA_ARGS__)
#define LOGGING_INFO(...) LOGGING_AT(::logging::Level::info, __VA_ARGS__)
#define LOGGING_WARNING(...) LOGGING_AT(::logging::Level::warning, __VA_ARGS__)
#define LOGGING_ERROR(...) LOGGING_AT(::logging::Level::error, __VA_ARGS__)
