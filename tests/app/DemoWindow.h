// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <memory>

#include "EmbeddedDatabase.h"
#include "HostWindow.h"

namespace twk {

/// The host window on a fresh demo database at sDatabase, as the system
/// manager, shown and active, so that keys reach it as they reach a
/// person's.
inline std::unique_ptr<HostWindow> ShownDemoWindow(const QString& sDatabase) {
  EmbeddedDatabase::Create(sDatabase, true);
  auto window = std::make_unique<HostWindow>(
      HostOptions{sDatabase, QStringLiteral("DEMO"), QStringLiteral("MANAGER"), QString(),
                  QStringLiteral("9 (sysadmin)"), QStringLiteral("10.2.0")});
  window->show();
  QApplication::setActiveWindow(window.get());
  return window;
}

}  // namespace twk
