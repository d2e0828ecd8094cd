// SPDX-License-Identifier: MIT
#include "TsqlTextSearch.h"

#include <memory>
#include <new>

#include "FunctionArguments.h"
#include "TsqlCollation.h"
#include "TsqlLike.h"

namespace twk::embedded::TsqlTextSearch {

namespace {

void DeleteLike(void* p) {
  std::unique_ptr<TsqlLike> owned(static_cast<TsqlLike*>(p));
}

// A pattern is usually the same for every row: it is read once and kept
// with the statement as long as the argument does not change.
const TsqlLike& PatternArgument(sqlite3_context* pContext, sqlite3_value** ppArguments,
                                int iPattern, int iEscape) {
  if (auto* pLike = static_cast<TsqlLike*>(sqlite3_get_auxdata(pContext, iPattern))) return *pLike;
  const QString sEscape = iEscape >= 0 ? TextArgument(ppArguments[iEscape]) : QString();
  auto like = std::make_unique<TsqlLike>(TextArgument(ppArguments[iPattern]), sEscape);
  TsqlLike* pLike = like.get();
  sqlite3_set_auxdata(pContext, iPattern, like.release(), DeleteLike);
  // SQLite frees it at once only when it is out of memory.
  if (sqlite3_get_auxdata(pContext, iPattern) != pLike) throw std::bad_alloc();
  return *pLike;
}

// Where find first occurs in text from index iFrom on, comparing under the
// collation; -1 when it does not.
qsizetype IndexOf(QStringView sText, QStringView sFind, qsizetype iFrom) {
  for (qsizetype i = iFrom; i + sFind.size() <= sText.size(); ++i) {
    qsizetype k = 0;
    while (k < sFind.size() &&
           TsqlCollation::SameCharacter(sText[i + k].unicode(), sFind[k].unicode()))
      ++k;
    if (k == sFind.size()) return i;
  }
  return -1;
}

}  // namespace

void Like(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const TsqlLike& like = PatternArgument(pContext, ppArguments, 1, iCount > 2 ? 2 : -1);
  sqlite3_result_int(pContext, like.Matches(TextArgument(ppArguments[0])) ? 1 : 0);
}

void PatIndex(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const TsqlLike& like = PatternArgument(pContext, ppArguments, 0, -1);
  sqlite3_result_int64(pContext, like.Find(TextArgument(ppArguments[1])));
}

void CharIndex(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sFind = TextArgument(ppArguments[0]);
  const QString sText = TextArgument(ppArguments[1]);
  const qint64 lStart = iCount > 2 ? sqlite3_value_int64(ppArguments[2]) : 1;
  if (sFind.isEmpty() || lStart > sText.size()) return sqlite3_result_int(pContext, 0);
  sqlite3_result_int64(pContext, IndexOf(sText, sFind, qsizetype(qMax<qint64>(lStart - 1, 0))) + 1);
}

void Replace(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments) {
  if (AnyNull(iCount, ppArguments)) return sqlite3_result_null(pContext);
  const QString sText = TextArgument(ppArguments[0]);
  const QString sFind = TextArgument(ppArguments[1]);
  const QString sWith = TextArgument(ppArguments[2]);
  if (sFind.isEmpty()) return ResultText(pContext, sText);
  QString sResult;
  qsizetype iDone = 0;
  for (qsizetype i = IndexOf(sText, sFind, 0); i >= 0; i = IndexOf(sText, sFind, iDone)) {
    sResult += QStringView(sText).sliced(iDone, i - iDone);
    sResult += sWith;
    iDone = i + sFind.size();
  }
  sResult += QStringView(sText).sliced(iDone);
  ResultText(pContext, sResult);
}

}  // namespace twk::embedded::TsqlTextSearch
