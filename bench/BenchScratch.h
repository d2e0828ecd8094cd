// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QTemporaryDir>

namespace twk::bench {

/// A scratch folder on RAM-backed storage when the machine has it, so that
/// the figures measure the code and not the disk's syncs.
inline QString ScratchTemplate() {
  if (QDir(QStringLiteral("/dev/shm")).exists()) return QStringLiteral("/dev/shm/twk-bench-XXXXXX");
  return QDir::temp().filePath(QStringLiteral("twk-bench-XXXXXX"));
}

}  // namespace twk::bench
