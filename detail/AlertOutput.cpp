// SPDX-License-Identifier: MIT
#include "AlertOutput.h"

// The record crosses from TWK to TWKDetail by reference; keeping its layout in
// one translation unit of TWKDetail pins the library's interface to it.
static_assert(sizeof(twk::AlertOutput) > 0);
