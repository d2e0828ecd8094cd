// SPDX-License-Identifier: MIT
#pragma once

#include "Connection.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace twk {

/// The state a library keeps per user-interface thread and shares among all
/// its controls.
struct ModuleState {
  /// The library's only connection; created on first use, never discarded.
  Connection& SharedConnection();

  QString AuthID;
  std::vector<std::pair<QString, QString>> SystemParamsCache;
  bool SystemParamsLoaded = false;

  /// A panel holds the single-panel guard.
  bool bPanelActive = false;
  /// A refused second panel is waiting to be destroyed.
  bool bPanelDuplicate = false;

  /// The state of the calling thread.
  static ModuleState& ForThisThread();

 private:
  std::unique_ptr<Connection> sharedConnection_;
};

/// Gives the thread a fresh state for a scope (each test case), and puts the
/// previous one back after it.
class ScopedModuleState {
 public:
  ScopedModuleState();
  ~ScopedModuleState();
  ScopedModuleState(const ScopedModuleState&) = delete;
  ScopedModuleState& operator=(const ScopedModuleState&) = delete;

  ModuleState& State() noexcept { return state_; }

 private:
  ModuleState state_;
  ModuleState* pPrevious_;
};

}  // namespace twk
