// SPDX-License-Identifier: MIT
#include "ModuleState.h"

namespace twk {

namespace {

thread_local ModuleState* pCurrent = nullptr;

}  // namespace

Connection& ModuleState::SharedConnection() {
  if (!sharedConnection_) sharedConnection_ = std::make_unique<Connection>();
  return *sharedConnection_;
}

ModuleState& ModuleState::ForThisThread() {
  if (!pCurrent) {
    thread_local ModuleState state;
    pCurrent = &state;
  }
  return *pCurrent;
}

ScopedModuleState::ScopedModuleState() : pPrevious_(pCurrent) { pCurrent = &state_; }

ScopedModuleState::~ScopedModuleState() { pCurrent = pPrevious_; }

}  // namespace twk
