#include "BatchExecutor.h"

#include <utility>

#include "SqlScanner.h"
#include "SqliteHandles.h"
#include "TwkError.h"

namespace twk {

// The state of one batch while it runs.
struct BatchExecutor::Pass {
  Translation translation;
  const ParameterBindings& bindings;
  int iDepth;
  BatchResult result;
};

namespace {

// Drops the sysobjects view when the batch the caller sent is over, however it ends.
class ViewScope {
 public:
  ViewScope(SysobjectsView& view, bool bOwner) noexcept : view_(view), bOwner_(bOwner) {}
  ~ViewScope() {
    if (bOwner_) view_.Drop();
  }
  ViewScope(const ViewScope&) = delete;
  ViewScope& operator=(const ViewScope&) = delete;

 private:
  SysobjectsView& view_;
  bool bOwner_;
};

bool ChangesRows(const QString& sLeadingWord) {
  for (QStringView sKeyword : {u"insert", u"update", u"delete", u"replace", u"with"}) {
    if (sLeadingWord == sKeyword) return true;
  }
  return false;
}

}  // namespace

BatchExecutor::BatchExecutor(sqlite3* pDb, TsqlTranslator::SpidSource spidSource)
    : pDb_(pDb), translator_(std::move(spidSource)), sysobjects_(pDb), procedures_(pDb, *this) {}

BatchResult BatchExecutor::Run(const QString& sBatch, const ParameterBindings& bindings,
                               int iDepth) {
  ViewScope viewScope(sysobjects_, iDepth == 0);
  Pass pass{translator_.Translate(sBatch), bindings, iDepth, {}};
  const QString& sText = pass.translation.sSql;
  qsizetype iPos = 0;
  while (!pass.result.bStopped) {
    iPos = SqlScanner::SkipSpaceAndComments(sText, iPos);
    if (iPos >= sText.size()) break;
    if (sText[iPos] == u';') {
      ++iPos;
      continue;
    }
    try {
      iPos = RunStatement(pass, iPos);
    } catch (const TwkError&) {
      // A client sees only the first result; once it exists, the error
      // ends the batch instead of replacing the result.
      if (!pass.result.first) throw;
      pass.result.bStopped = true;
    }
  }
  return std::move(pass.result);
}

qsizetype BatchExecutor::RunStatement(Pass& pass, qsizetype iPos) {
  const QString& sText = pass.translation.sSql;
  const QString sLeadingWord = SqlScanner::LowerWordAt(sText, iPos);
  if (sLeadingWord == u"exec" || sLeadingWord == u"execute") {
    const ProcedureCall call = ProcedureCall::Parse(sText, iPos, pass.bindings);
    BatchResult procedureResult = procedures_.Run(call, pass.iDepth + 1);
    if (procedureResult.first) Offer(pass, std::move(*procedureResult.first));
    pass.result.bStopped = procedureResult.bStopped;
    return call.iEnd;
  }
  qsizetype iEnd = 0;
  QString sOption;
  bool bOn = false;
  if (TsqlTranslator::IsSetOption(sText, iPos, &iEnd, &sOption, &bOn)) {
    // Other session options of the server (ansi_nulls, quoted_identifier...)
    // have no meaning here and are accepted as they are in server scripts.
    if (sOption == u"nocount") bNoCount_ = bOn;
    return iEnd;
  }
  return RunSqlStatement(pass, iPos);
}

qsizetype BatchExecutor::RunSqlStatement(Pass& pass, qsizetype iPos) {
  const QString& sText = pass.translation.sSql;
  if (pass.translation.bUsesSysobjects) sysobjects_.Prepare();
  sqlite3_stmt* pRaw = nullptr;
  const void* pTail = nullptr;
  const auto* pStart = reinterpret_cast<const char16_t*>(sText.utf16()) + iPos;
  const int iResult =
      sqlite3_prepare16_v2(pDb_, pStart, int((sText.size() - iPos) * 2), &pRaw, &pTail);
  StatementHandle statement(pRaw);
  CheckSqlite(pDb_, iResult);
  const qsizetype iEnd =
      pTail ? iPos + (static_cast<const char16_t*>(pTail) - pStart) : sText.size();
  if (!statement) return iEnd;  // only white space or comments

  BindParameters(statement.get(), pass.bindings);
  if (sqlite3_column_count(statement.get()) > 0) {
    if (pass.result.first) {
      StepToEnd(statement.get());
    } else {
      Offer(pass, FetchRows(statement.get()));
    }
    return iEnd;
  }
  StepToEnd(statement.get());
  const bool bCountsRows =
      !sqlite3_stmt_readonly(statement.get()) && ChangesRows(SqlScanner::LowerWordAt(sText, iPos));
  if (bCountsRows && !bNoCount_) Offer(pass, Recordset::Closed(long(sqlite3_changes64(pDb_))));
  return iEnd;
}

void BatchExecutor::BindParameters(sqlite3_stmt* pStatement,
                                   const ParameterBindings& bindings) const {
  const int iCount = sqlite3_bind_parameter_count(pStatement);
  for (int i = 1; i <= iCount; ++i) {
    const char* sRawName = sqlite3_bind_parameter_name(pStatement, i);
    const QString sName = sRawName ? QString::fromUtf8(sRawName) : QStringLiteral("?");
    const QVariant* pValue = FindBinding(bindings, sName);
    if (!pValue) {
      throw TwkError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(sName),
                     QStringLiteral("SQLite"), SQLITE_ERROR);
    }
    BindValue(pDb_, pStatement, i, *pValue);
  }
}

Recordset BatchExecutor::FetchRows(sqlite3_stmt* pStatement) const {
  const int iColumns = sqlite3_column_count(pStatement);
  QStringList columnNames;
  for (int i = 0; i < iColumns; ++i) columnNames.append(ColumnName(pStatement, i));
  std::vector<Recordset::Row> rows;
  while (CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW) {
    Recordset::Row row;
    row.reserve(std::size_t(iColumns));
    for (int i = 0; i < iColumns; ++i) row.push_back(ColumnValue(pStatement, i));
    rows.push_back(std::move(row));
  }
  return Recordset(std::move(columnNames), std::move(rows));
}

void BatchExecutor::StepToEnd(sqlite3_stmt* pStatement) const {
  while (CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW) {
  }
}

void BatchExecutor::Offer(Pass& pass, Recordset result) {
  if (!pass.result.first) pass.result.first = std::move(result);
}

}  // namespace twk
