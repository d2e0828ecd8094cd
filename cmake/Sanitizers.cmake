# SPDX-License-Identifier: MIT
# AddressSanitizer and UndefinedBehaviorSanitizer for a whole build folder
# (scripts/test-sanitizers). Any report stops the program, so a test that
# meets one fails.
option(TWK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TWK_SANITIZE)
  set(twk_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${twk_sanitizer_flags})
  add_link_options(${twk_sanitizer_flags})
endif()
