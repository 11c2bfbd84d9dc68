# VELTRANE_SANITIZE selects a sanitizer build for every target: "address" (AddressSanitizer with
# UndefinedBehaviorSanitizer) or "thread" (ThreadSanitizer). The presets asan and tsan set it.
set(VELTRANE_SANITIZE "" CACHE STRING "Sanitizer build: address, thread or empty")

if(VELTRANE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VELTRANE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT VELTRANE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VELTRANE_SANITIZE must be address, thread or empty, not '${VELTRANE_SANITIZE}'")
endif()
