// SPDX-License-Identifier: MIT
#include "QueryRunner.h"

#include "EmittedStatement.h"
#include "Emitter.h"
#include "ExpressionEmitter.h"
#include "SqlBuilder.h"
#include "SqliteStatementRows.h"
#include "SteppedAssignment.h"
#include "TsqlError.h"

namespace twk::embedded {

using tsql::Statement;

namespace {

// Rows of a first result read before the statements after it run, as a
// server fills its network buffer; behind a larger result they run once
// the caller has read it or put it away.
constexpr size_t iReadAhead = 1000;

bool CountsRows(const Statement& statement) {
  switch (statement.kind) {
    case Statement::Kind::Insert:
    case Statement::Kind::Update:
    case Statement::Kind::Delete:
      return true;
    case Statement::Kind::Select:  // select ... into
      return statement.query->kind == tsql::QueryExpr::Kind::Core && statement.query->core->into;
    default:
      return false;
  }
}

bool ChangesSchema(const Statement& statement) {
  return statement.kind == Statement::Kind::CreateTable ||
         statement.kind == Statement::Kind::DropTable ||
         (statement.kind == Statement::Kind::Select && CountsRows(statement));
}

Recordset::Row ReadRow(EmittedStatement& run) {
  Recordset::Row row;
  const int iColumns = run.ColumnCount();
  row.reserve(size_t(iColumns));
  for (int i = 0; i < iColumns; ++i) row.push_back(run.Column(i));
  return row;
}

void Offer(BatchResult& result, Recordset recordset) {
  if (!result.first) result.first = std::move(recordset);
}

}  // namespace

QueryRunner::QueryRunner(EngineSession& session, BatchVariables& variables, CompiledBatch& compiled,
                         BatchResult& result)
    : session_(session),
      variables_(variables),
      compiled_(compiled),
      result_(result),
      emitted_(compiled.Emitted()) {}

QueryRunner::~QueryRunner() = default;

bool QueryRunner::Run(Statement& statement, bool bMayStream, bool bLast) {
  const std::vector<EmittedSql>& emitted = Emitted(statement);
  const int iLine = statement.span.iLine;
  session_.inserts.clear();
  for (const EmittedSql& sql : emitted) {
    EmittedStatement run(session_, sql, iLine);
    run.Bind([this](const EmittedParameter& parameter) { return ValueOf(parameter); });
    if (!sql.columns.empty() && !sql.columns.front().sVariable.isEmpty()) {
      Assign(run, sql, iLine);
    } else if (!sql.columns.empty()) {
      if (Rows(run, sql, bMayStream, bLast)) return true;
    } else {
      run.Finish();
      Changed(statement, sql);
      if (ChangesSchema(statement)) session_.catalog.CheckMainAgain();
    }
  }
  return false;
}

QVariant QueryRunner::Evaluate(const tsql::Expr& expr, int iLine) {
  EmittedStatement run(session_, Expression(expr, false), iLine);
  run.Bind([this](const EmittedParameter& parameter) { return ValueOf(parameter); });
  QVariant value;
  if (run.Step()) value = run.Column(0);
  run.Finish();
  return value;
}

bool QueryRunner::Holds(const tsql::Expr& condition, int iLine) {
  EmittedStatement run(session_, Expression(condition, true), iLine);
  run.Bind([this](const EmittedParameter& parameter) { return ValueOf(parameter); });
  const bool bHolds = run.Step() && run.Column(0).toLongLong() == 1;
  run.Finish();
  return bHolds;
}

void QueryRunner::Execute(const std::vector<EmittedSql>& emitted, int iLine) {
  for (const EmittedSql& sql : emitted) {
    EmittedStatement run(session_, sql, iLine);
    run.Bind([this](const EmittedParameter& parameter) { return ValueOf(parameter); });
    run.Finish();
  }
}

// A statement whose tables did not exist when the batch was compiled is
// bound when it is reached, as the server compiles it then.
const std::vector<EmittedSql>& QueryRunner::Emitted(Statement& statement) {
  const auto found = emitted_.find(&statement);
  if (found != emitted_.end()) return found->second;
  const tsql::StatementBinding* pBinding = compiled_.Binder().Find(statement);
  if (!pBinding || pBinding->bDeferred) pBinding = &compiled_.BindWhenReached(statement);
  MakeCompoundsPlain(statement);
  std::vector<EmittedSql> emitted = Emitter::Emit(statement, *pBinding);
  for (EmittedSql& sql : emitted) sql.source = statement.span;
  return emitted_[&statement] = std::move(emitted);
}

const EmittedSql& QueryRunner::Expression(const tsql::Expr& expr, bool bCondition) {
  std::vector<EmittedSql>& emitted = emitted_[&expr];
  if (!emitted.empty()) return emitted.front();
  SqlBuilder sql;
  ExpressionEmitter expressions(sql);
  sql.Append(bCondition ? u"SELECT CASE WHEN " : u"SELECT ");
  expressions.Emit(expr);
  if (bCondition) sql.Append(u" THEN 1 ELSE 0 END");
  emitted.push_back(sql.Take());
  emitted.back().source = expr.span;
  return emitted.front();
}

QVariant QueryRunner::ValueOf(const EmittedParameter& parameter) const {
  switch (parameter.kind) {
    case EmittedParameter::Kind::Variable:
      return variables_.Value(parameter.sName);
    case EmittedParameter::Kind::SystemVariable:
      return SystemValue(parameter.sName);
    default:
      return parameter.value;
  }
}

QVariant QueryRunner::SystemValue(const QString& sName) const {
  if (sName == u"@@rowcount") return QVariant(qint64(session_.lRowCount));
  if (sName == u"@@error") return QVariant(qint64(session_.lError));
  if (sName == u"@@spid") return QVariant(qint64(session_.spidSource()));
  if (sName == u"@@trancount") return QVariant(qint64(session_.TranCount()));
  if (sName == u"@@nestlevel") return QVariant(qint64(session_.iNestLevel));
  if (sName == u"@@identity") {
    return session_.identity ? QVariant(double(*session_.identity)) : QVariant();
  }
  if (sName == u"@@datefirst") return QVariant(qint64(7));
  if (sName == u"@@language") return QVariant(QStringLiteral("us_english"));
  if (sName == u"@@fetch_status") return QVariant(qint64(-1));
  return {};
}

// Rows of the first result are kept (or left to the caller as they come);
// rows of a later one are read and dropped.
bool QueryRunner::Rows(EmittedStatement& run, const EmittedSql& emitted, bool bMayStream,
                       bool bLast) {
  std::vector<Recordset::Row> rows;
  bool bMore = run.Step();
  if (result_.first) {
    long long lCount = 0;
    for (; bMore; bMore = run.Step()) ++lCount;
    session_.lRowCount = lCount;
    return false;
  }
  if (bMore) rows.push_back(ReadRow(run));
  while (bMore && (!bMayStream || (!bLast && rows.size() <= iReadAhead))) {
    bMore = run.Step();
    if (bMore) rows.push_back(ReadRow(run));
  }
  session_.lRowCount = qint64(rows.size());
  QStringList names;
  for (const EmittedColumn& column : emitted.columns) names.append(column.sName);
  if (!bMore) {
    Offer(result_, Recordset(std::move(names), std::move(rows)));
    return false;
  }
  auto streaming = std::make_shared<SqliteStatementRows>(session_.pDb, run.Release(),
                                                         session_.statements, emitted.sSql);
  pStreaming_ = streaming.get();
  Offer(result_, Recordset(std::move(names), std::move(rows), std::move(streaming)));
  return true;
}

// select @a = x, @b = y from ...: every row assigns, so the last row's values stay.
void QueryRunner::Assign(EmittedStatement& run, const EmittedSql& emitted, int iLine) {
  long long lCount = 0;
  for (; run.Step(); ++lCount) {
    if (emitted.steps.empty()) {
      for (size_t i = 0; i < emitted.columns.size(); ++i) {
        const EmittedColumn& column = emitted.columns[i];
        variables_.Assign(column.sVariable, run.Column(int(i)), column.type, iLine);
      }
      continue;
    }
    const Recordset::Row row = ReadRow(run);
    for (size_t i = 0; i < emitted.columns.size(); ++i) {
      const EmittedColumn& column = emitted.columns[i];
      variables_.Assign(column.sVariable, StepValue(emitted.steps[i], row, iLine), column.type,
                        iLine);
    }
  }
  session_.lRowCount = lCount;
}

QVariant QueryRunner::StepValue(const EmittedSql& step, const Recordset::Row& row, int iLine) {
  EmittedStatement run(session_, step, iLine);
  run.Bind([this, &row](const EmittedParameter& parameter) {
    if (parameter.kind == EmittedParameter::Kind::RowValue) return row[parameter.value.toUInt()];
    return ValueOf(parameter);
  });
  QVariant value;
  if (run.Step()) value = run.Column(0);
  run.Finish();
  return value;
}

// x += v in a select runs as x = x + v, as in a set.
void QueryRunner::MakeCompoundsPlain(Statement& statement) {
  if (statement.kind != Statement::Kind::Select || !statement.query ||
      statement.query->kind != tsql::QueryExpr::Kind::Core)
    return;
  for (tsql::SelectItem& item : statement.query->core->items) {
    if (item.sAssignOperator.size() < 2) continue;
    SteppedAssignment::MakePlain(item.sAssignOperator, item.expr, item.sVariable,
                                 variables_.Type(item.sVariable));
  }
}

void QueryRunner::Changed(const Statement& statement, const EmittedSql& emitted) {
  NoteIdentity();
  // select ... into counts the rows of its insert, not the table it makes.
  const bool bCounts = CountsRows(statement) && (statement.kind != Statement::Kind::Select ||
                                                 emitted.sSql.startsWith(u"INSERT"));
  if (!bCounts) {
    session_.lRowCount = 0;
    return;
  }
  const long long lChanged = sqlite3_changes64(session_.pDb);
  session_.lRowCount = lChanged;
  if (!session_.bNoCount) Offer(result_, Recordset::Closed(long(lChanged)));
}

void QueryRunner::NoteIdentity() {
  for (auto insert = session_.inserts.rbegin(); insert != session_.inserts.rend(); ++insert) {
    // The schema the insert was just checked against answers from memory.
    int iAutoincrement = 0;
    const int iResult = sqlite3_table_column_metadata(
        session_.pDb, insert->first.constData(), insert->second.first.constData(), "rowid", nullptr,
        nullptr, nullptr, nullptr, &iAutoincrement);
    if (iResult == SQLITE_OK && iAutoincrement) {
      session_.identity = insert->second.second;
      break;
    }
  }
  session_.inserts.clear();
}

}  // namespace twk::embedded
