# SPDX-License-Identifier: MIT
add_library(twk_warnings INTERFACE)
target_compile_options(twk_warnings INTERFACE -Wall -Wextra -Wpedantic)
