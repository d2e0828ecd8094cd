// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

/// Stops the run when a property fails, naming it, so that the crash report
/// says which one the input broke.
#define TWK_FUZZ_REQUIRE(condition)                                                         \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

namespace twk::fuzz {

/// The input as UTF-8 text cut in two at the first NUL byte: the first part
/// is what a definition or action holds, the second the value put into it.
inline std::pair<QString, QString> TextAndValue(const uint8_t* pData, size_t iSize) {
  const QByteArray bytes(reinterpret_cast<const char*>(pData), qsizetype(iSize));
  const qsizetype iCut = bytes.indexOf('\0');
  if (iCut < 0) return {QString::fromUtf8(bytes), QString()};
  return {QString::fromUtf8(bytes.left(iCut)), QString::fromUtf8(bytes.mid(iCut + 1))};
}

}  // namespace twk::fuzz
