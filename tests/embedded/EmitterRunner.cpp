// SPDX-License-Identifier: MIT
#include "EmitterRunner.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "Binder.h"
#include "Emitter.h"
#include "Parser.h"
#include "RegisterTsqlFunctions.h"
#include "SqliteCatalog.h"
#include "TableDefinitionEmitter.h"
#include "TsqlError.h"

namespace twk::embedded::test {

namespace {

// Lower-case names in Activity.NOTE and a lower-case 'brown' show where a
// comparison or an order would follow case.
constexpr const char* kSchema = R"(
attach database ':memory:' as twk_temp;
create table Name (ID integer primary key, LAST_NAME varchar(30), FIRST_NAME varchar(20),
  CITY varchar(20), EMAIL varchar(50), BALANCE decimal(12,2), JOIN_DATE datetime, STATUS char(1));
insert into Name values
  (1, 'Smith', 'Ann', 'Evanston', 'ann@x.org', 75, '2014-01-01 00:00:00.000', 'A'),
  (2, 'Jones', 'Bob', 'EVANSTON ', 'BOB@X.ORG', 10.5, '2015-06-30 00:00:00.000', 'I'),
  (3, 'brown', NULL, 'Chicago', NULL, NULL, '2016-02-29 00:00:00.000', 'A');
create table Activity (SEQN integer primary key autoincrement, ID int, ACTIVITY_TYPE varchar(10),
  AMOUNT money, UNITS int, NOTE varchar(100));
insert into Activity values (1, 1, 'DUES', 100, 3, 'Board member'), (2, 1, 'GIFT', 50, 4, NULL),
  (3, 2, 'dues', 25, 5, 'board'), (4, 3, 'GIFT', 10, 1, 'x&y<z>');
)";

QString ValueText(sqlite3_stmt* pStatement, int iColumn) {
  switch (sqlite3_column_type(pStatement, iColumn)) {
    case SQLITE_NULL:
      return QStringLiteral("NULL");
    case SQLITE_FLOAT:
      return QString::number(sqlite3_column_double(pStatement, iColumn), 'g', 15);
    default:
      return QString::fromUtf8(
          reinterpret_cast<const char*>(sqlite3_column_text(pStatement, iColumn)));
  }
}

void Bind(sqlite3_stmt* pStatement, int iIndex, const QVariant& value) {
  if (value.isNull()) {
    sqlite3_bind_null(pStatement, iIndex);
  } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
    sqlite3_bind_int64(pStatement, iIndex, value.toLongLong());
  } else if (value.typeId() == QMetaType::Double) {
    sqlite3_bind_double(pStatement, iIndex, value.toDouble());
  } else {
    const QByteArray utf8 = value.toString().toUtf8();
    sqlite3_bind_text(pStatement, iIndex, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
  }
}

}  // namespace

EmitterRunner::EmitterRunner() {
  if (sqlite3_open(":memory:", &pDb_) != SQLITE_OK) ADD_FAILURE() << "cannot open SQLite";
  RegisterTsqlFunctions(pDb_);
  char* pError = nullptr;
  if (sqlite3_exec(pDb_, kSchema, nullptr, nullptr, &pError) != SQLITE_OK) ADD_FAILURE() << pError;
  sqlite3_free(pError);
}

EmitterRunner::~EmitterRunner() {
  sqlite3_close_v2(pDb_);
}

// "TSQL 8134: Divide by zero ..." becomes "error 8134".
QString EmitterRunner::ErrorText() const {
  const QString sMessage = QString::fromUtf8(sqlite3_errmsg(pDb_));
  static const QRegularExpression number(QStringLiteral("^TSQL (\\d+): "));
  const QRegularExpressionMatch match = number.match(sMessage);
  return match.hasMatch() ? QStringLiteral("error ") + match.captured(1)
                          : QStringLiteral("sqlite: ") + sMessage;
}

QString EmitterRunner::Execute(const EmittedSql& emitted, const QVariantMap& variables) {
  sqlite3_stmt* pStatement = nullptr;
  if (sqlite3_prepare_v2(pDb_, emitted.sSql.toUtf8().constData(), -1, &pStatement, nullptr) !=
      SQLITE_OK) {
    return ErrorText() + QStringLiteral(" in ") + emitted.sSql;
  }
  for (size_t i = 0; i < emitted.parameters.size(); ++i) {
    const EmittedParameter& parameter = emitted.parameters[i];
    const bool bValue = parameter.kind == EmittedParameter::Kind::Value;
    Bind(pStatement, int(i + 1), bValue ? parameter.value : variables.value(parameter.sName));
  }
  QStringList rows;
  int iStep = SQLITE_ROW;
  while ((iStep = sqlite3_step(pStatement)) == SQLITE_ROW) {
    QStringList values;
    for (int c = 0; c < sqlite3_column_count(pStatement); ++c) values << ValueText(pStatement, c);
    rows << values.join(u'|');
  }
  const QString sResult = iStep == SQLITE_DONE ? rows.join(u';') : ErrorText();
  sqlite3_finalize(pStatement);
  return sResult;
}

QString EmitterRunner::Run(const QString& sBatch, const QVariantMap& variables) {
  try {
    tsql::Batch batch = tsql::Parse(sBatch);
    SqliteCatalog catalog(pDb_);
    tsql::Binder binder(catalog);
    binder.BindBatch(batch);
    QString sRows;
    for (const tsql::StatementPtr& statement : batch.statements) {
      using Kind = tsql::Statement::Kind;
      std::vector<EmittedSql> emitted;
      if (statement->kind == Kind::Declare) {
        for (const tsql::VariableDeclaration& variable : statement->variables) {
          if (variable.bTable) emitted = TableDefinitionEmitter::CreateTableVariable(variable);
        }
      } else if (statement->kind != Kind::SetVariable) {
        const tsql::StatementBinding* pBinding = binder.Find(*statement);
        if (!pBinding || pBinding->bDeferred) pBinding = &binder.BindDeferred(*statement);
        emitted = Emitter::Emit(*statement, *pBinding);
      }
      for (const EmittedSql& sql : emitted) {
        const QString sResult = Execute(sql, variables);
        if (sResult.startsWith(u"error") || sResult.startsWith(u"sqlite")) return sResult;
        if (statement->kind == Kind::Select) sRows = sResult;
      }
    }
    return sRows;
  } catch (const TwkError& error) {
    return QStringLiteral("error %1").arg(error.Number());
  }
}

std::vector<EmittedSql> EmitterRunner::Emit(const QString& sBatch) {
  tsql::Batch batch = tsql::Parse(sBatch);
  SqliteCatalog catalog(pDb_);
  tsql::Binder binder(catalog);
  binder.BindBatch(batch);
  const tsql::Statement& last = *batch.statements.back();
  return Emitter::Emit(last, *binder.Find(last));
}

}  // namespace twk::embedded::test
