# VELTRANE_SANITIZE selects a sanitizer build for every target: "address" (AddressSanitizer with
# UndefinedBehaviorSanitizer), "thread" (ThreadSanitizer) or "fuzzer" (the address build, with every
# branch counted for clang's libFuzzer: clang only). The presets asan, tsan and fuzz set it.
set(VELTRANE_SANITIZE "" CACHE STRING "Sanitizer build: address, thread, fuzzer or empty")

if(VELTRANE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VELTRANE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(VELTRANE_SANITIZE STREQUAL "fuzzer")
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT VELTRANE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VELTRANE_SANITIZE must be address, thread, fuzzer or empty, not '${VELTRANE_SANITIZE}'")
endif()
