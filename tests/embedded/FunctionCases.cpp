// SPDX-License-Identifier: MIT
#include "FunctionCases.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "RegisterTsqlFunctions.h"

namespace twk::embedded::test {

namespace {

QString ValueText(sqlite3_stmt* pStatement) {
  switch (sqlite3_column_type(pStatement, 0)) {
    case SQLITE_NULL:
      return QStringLiteral("NULL");
    case SQLITE_FLOAT:
      return QString::number(sqlite3_column_double(pStatement, 0), 'g', 15);
    default:
      return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)),
                               sqlite3_column_bytes(pStatement, 0));
  }
}

}  // namespace

// "TSQL 8134: Divide by zero ..." becomes "error 8134".
QString FunctionConnection::ErrorText() {
  sLastMessage_ = QString::fromUtf8(sqlite3_errmsg(pDb_));
  static const QRegularExpression number(QStringLiteral("^TSQL (\\d+): "));
  const QRegularExpressionMatch match = number.match(sLastMessage_);
  return match.hasMatch() ? QStringLiteral("error ") + match.captured(1)
                          : QStringLiteral("sqlite: ") + sLastMessage_;
}

FunctionConnection::FunctionConnection() {
  if (sqlite3_open(":memory:", &pDb_) != SQLITE_OK) ADD_FAILURE() << "cannot open SQLite";
  RegisterTsqlFunctions(pDb_);
}

FunctionConnection::~FunctionConnection() {
  sqlite3_close_v2(pDb_);
}

void FunctionConnection::Run(const char* sSql) {
  char* pError = nullptr;
  if (sqlite3_exec(pDb_, sSql, nullptr, nullptr, &pError) != SQLITE_OK) ADD_FAILURE() << pError;
  sqlite3_free(pError);
}

QString FunctionConnection::Evaluate(const QString& sQuery) {
  sqlite3_stmt* pStatement = nullptr;
  const QByteArray query = sQuery.toUtf8();
  if (sqlite3_prepare_v2(pDb_, query.constData(), -1, &pStatement, nullptr) != SQLITE_OK) {
    return ErrorText();
  }
  const int iStep = sqlite3_step(pStatement);
  const QString sResult = iStep == SQLITE_ROW    ? ValueText(pStatement)
                          : iStep == SQLITE_DONE ? QStringLiteral("no row")
                                                 : ErrorText();
  sqlite3_finalize(pStatement);
  return sResult;
}

void CheckCases(FunctionConnection& connection, const std::vector<FunctionCase>& cases) {
  for (const FunctionCase& row : cases) {
    const QString sExpected = row.lError != 0 ? QStringLiteral("error %1").arg(row.lError)
                                              : QString::fromUtf8(row.sExpected);
    EXPECT_EQ(connection.Evaluate(QStringLiteral("select ") + QString::fromUtf8(row.sExpression)),
              sExpected)
        << row.sExpression;
  }
}

}  // namespace twk::embedded::test
