// SPDX-License-Identifier: MIT
#include "EngineConnection.h"

#include <gtest/gtest.h>

#include "TsqlError.h"

namespace twk::embedded::test {

namespace {

constexpr const char* kSchema = R"(
create table Name (ID integer primary key, LAST_NAME varchar(30), CITY varchar(20),
  BALANCE decimal(12,2));
insert into Name values (1, 'Smith', 'Evanston', 75), (2, 'Jones', 'Chicago', 10.5),
  (3, 'Brown', NULL, NULL);
create table Log (SEQN integer primary key autoincrement, NOTE varchar(50));
create table Big (I int);
with recursive n(i) as (select 1 union all select i + 1 from n where i < 2500)
  insert into Big select i from n;
create table twk_procedures (name text primary key collate nocase,
  parameters text not null default '', body text not null);
insert into twk_procedures values ('Twice', '@n int', 'select @n * 2 as v'),
  ('RetFive', '', 'return 5');
)";

QString ValueText(const QVariant& value) {
  if (value.isNull()) return QStringLiteral("NULL");
  if (value.typeId() == QMetaType::Double) return QString::number(value.toDouble(), 'g', 15);
  return value.toString();
}

}  // namespace

EngineConnection::EngineConnection() {
  const QByteArray path = folder_.filePath(QStringLiteral("engine.db")).toUtf8();
  if (sqlite3_open(path.constData(), &pDb_) != SQLITE_OK) ADD_FAILURE() << "cannot open SQLite";
  TsqlEngine::PrepareConnection(pDb_);
  char* pError = nullptr;
  if (sqlite3_exec(pDb_, kSchema, nullptr, nullptr, &pError) != SQLITE_OK) ADD_FAILURE() << pError;
  sqlite3_free(pError);
  engine_ = std::make_unique<TsqlEngine>(pDb_, [] { return 4242L; });
}

EngineConnection::~EngineConnection() {
  engine_.reset();
  sqlite3_close_v2(pDb_);
}

QString EngineConnection::Run(const QString& sBatch) {
  try {
    BatchResult result = engine_->Run(sBatch);
    return Describe(result);
  } catch (const tsql::TsqlError& error) {
    return QStringLiteral("error %1 line %2").arg(error.Number()).arg(error.Line());
  } catch (const TwkError& error) {
    return QStringLiteral("sqlite %1: %2").arg(error.Number()).arg(error.Description());
  }
}

QString EngineConnection::Describe(BatchResult& result) {
  QString sText = QStringLiteral("none");
  if (result.first && result.first->IsOpen()) {
    QStringList rows;
    for (Recordset& rows_ = *result.first; !rows_.IsEof(); rows_.MoveNext()) {
      QStringList values;
      for (int i = 0; i < rows_.FieldCount(); ++i) values << ValueText(rows_.Field(i));
      rows << values.join(u'|');
    }
    sText = rows.join(u';');
  } else if (result.first) {
    sText = QStringLiteral("(%1 rows)").arg(result.first->RowsAffected());
  }
  return result.bStopped ? sText + QStringLiteral(" stopped") : sText;
}

QString EngineConnection::Raw(const char* sSql) const {
  sqlite3_stmt* pStatement = nullptr;
  sqlite3_prepare_v2(pDb_, sSql, -1, &pStatement, nullptr);
  QString sValue = QStringLiteral("no row");
  if (sqlite3_step(pStatement) == SQLITE_ROW) {
    sValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
  }
  sqlite3_finalize(pStatement);
  return sValue;
}

}  // namespace twk::embedded::test
