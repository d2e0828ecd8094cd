// SPDX-License-Identifier: MIT
// Placeholder replacement: for any definition and value, every character
// of the definition outside the replaced placeholders is read by the T-SQL
// tokenizer in the same context as before, and no character of a value is
// read as code or comment.
#include <cstdlib>

#include "AlertPlaceholders.h"
#include "FuzzInput.h"
#include "SqlContexts.h"

namespace {

void CheckContexts(const QString& sCriteria, const twk::ReplacedCriteria& replaced) {
  const auto before = twk::ReadSqlContexts(sCriteria);
  const auto after = twk::ReadSqlContexts(replaced.sSql);
  qsizetype iSource = 0;
  qsizetype iResult = 0;
  auto CompareUpTo = [&](qsizetype iSourceEnd) {
    for (; iSource < iSourceEnd; ++iSource, ++iResult) {
      if (before[size_t(iSource)] != after[size_t(iResult)]) std::abort();
    }
  };
  for (const twk::PlaceholderEdit& edit : replaced.edits) {
    CompareUpTo(edit.iSourcePos);
    for (qsizetype i = edit.iResultPos; i < edit.iResultPos + edit.iResultLength; ++i) {
      const twk::SqlContext context = after[size_t(i)];
      if (context == twk::SqlContext::Code || context == twk::SqlContext::Comment) std::abort();
    }
    iSource += edit.iSourceLength;
    iResult += edit.iResultLength;
  }
  CompareUpTo(sCriteria.size());
  if (iResult != replaced.sSql.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const auto [sCriteria, sValue] = twk::fuzz::TextAndValue(pData, iSize);
  const twk::ReplacedCriteria replaced =
      twk::ReplacePlaceholdersTraced(sCriteria, sValue, sValue + QStringLiteral("'x"));
  CheckContexts(sCriteria, replaced);
  return 0;
}
