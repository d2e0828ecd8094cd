// SPDX-License-Identifier: MIT
// Splitting and the {ID} replacement: a key value never adds, removes or
// moves an argument, and joined arguments always split back unchanged.
#include <cstdlib>

#include "CommandLine.h"
#include "DetailRules.h"
#include "FuzzInput.h"
#include "TwkError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const auto [sAction, sKeyValue] = twk::fuzz::TextAndValue(pData, iSize);
  const QStringList arguments = twk::SplitCommandLine(sAction);
  if (twk::SplitCommandLine(twk::JoinCommandLine(arguments)) != arguments) std::abort();

  QStringList expected = arguments;
  bool bAllEmpty = true;
  bool bNul = false;
  for (QString& sArgument : expected) {
    sArgument.replace(QStringLiteral("{ID}"), sKeyValue);
    bAllEmpty = bAllEmpty && sArgument.isEmpty();
    bNul = bNul || sArgument.contains(QChar(0));
  }
  QString sPrepared;
  try {
    sPrepared = twk::DetailRules::PrepareCommandLine(sAction, QStringLiteral("ID"), sKeyValue);
  } catch (const twk::TwkError&) {
    // Refused only for a NUL that an argument would carry.
    if (!bNul || bAllEmpty) std::abort();
    return 0;
  }
  if (bNul && !bAllEmpty) std::abort();  // a NUL was let through
  if (bAllEmpty) {
    if (!sPrepared.isEmpty()) std::abort();
  } else if (twk::SplitCommandLine(sPrepared) != expected) {
    std::abort();
  }
  if (twk::DetailRules::PrepareCommandLine(sAction, QStringLiteral("id"), sKeyValue) != sAction) {
    std::abort();
  }
  return 0;
}
