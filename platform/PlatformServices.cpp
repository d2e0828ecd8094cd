// SPDX-License-Identifier: MIT
#include "PlatformServices.h"

#include "ConsolePlatform.h"

namespace twk {

namespace {

thread_local PlatformServices* pInstalled = nullptr;

PlatformServices& DefaultServices() {
  thread_local ConsolePlatform console;
  return console;
}

}  // namespace

namespace Platform {

PlatformServices& Services() { return pInstalled ? *pInstalled : DefaultServices(); }

void Install(PlatformServices* pServices) { pInstalled = pServices; }

}  // namespace Platform

ScopedPlatform::ScopedPlatform(PlatformServices& services) : pPrevious_(pInstalled) {
  pInstalled = &services;
}

ScopedPlatform::~ScopedPlatform() { pInstalled = pPrevious_; }

}  // namespace twk
