// SPDX-License-Identifier: MIT
#include "EmittedStatement.h"

#include <QRegularExpression>

#include "ServerErrors.h"
#include "TsqlError.h"

namespace twk::embedded {

EmittedStatement::EmittedStatement(EngineSession& session, const EmittedSql& emitted, int iLine)
    : pDb_(session.pDb),
      catalog_(session.catalog),
      cache_(session.statements),
      emitted_(emitted),
      iLine_(iLine) {
  statement_ = cache_->Take(emitted.sSql);
  if (statement_) return;
  int iResult = SQLITE_OK;
  statement_ = cache_->Prepare(emitted.sSql, iResult);
  if (!statement_) Fail(pDb_, iResult == SQLITE_OK ? SQLITE_ERROR : iResult, iLine_, Verb());
}

EmittedStatement::~EmittedStatement() {
  if (statement_) cache_->Give(emitted_.sSql, std::move(statement_));
}

void EmittedStatement::Bind(const ValueOf& valueOf) {
  for (size_t i = 0; i < emitted_.parameters.size(); ++i) {
    BindValue(pDb_, statement_.get(), int(i + 1), valueOf(emitted_.parameters[i]));
  }
}

bool EmittedStatement::Step() {
  if (!catalog_.SharesCheck()) return Stepped(sqlite3_step(statement_.get()));
  // The first statement runs in the transaction that checked the schema,
  // a write too: one lock of the file instead of two.
  const int iResult = sqlite3_step(statement_.get());
  if (iResult == SQLITE_BUSY && !IsReadOnly()) {
    // Inside a transaction SQLite does not wait for a busy file (it could
    // deadlock there): the write starts again on its own, and waits as any
    // write waits.
    sqlite3_reset(statement_.get());
    catalog_.AbandonCheck();
    return Stepped(sqlite3_step(statement_.get()));
  }
  const bool bStepped = iResult == SQLITE_ROW || iResult == SQLITE_DONE;
  if (bStepped && IsReadOnly()) {
    if (!ReadsNoTable() || !catalog_.LendsCheck()) catalog_.EndCheck();
    return iResult == SQLITE_ROW;
  }
  // A write's commit can fail (a reader holds the file): that is its failure.
  const int iEnd = bStepped ? catalog_.CommitCheck() : iResult;
  if (iEnd != SQLITE_OK) {
    // The error's text is the connection's until the check is rolled back.
    try {
      Fail(pDb_, iEnd, iLine_, Verb());
    } catch (...) {
      catalog_.AbandonCheck();
      throw;
    }
  }
  return iResult == SQLITE_ROW;
}

bool EmittedStatement::Stepped(int iResult) const {
  if (iResult == SQLITE_ROW) return true;
  if (iResult == SQLITE_DONE) return false;
  Fail(pDb_, iResult, iLine_, Verb());
}

void EmittedStatement::Finish() {
  while (Step()) {
  }
}

// Every table the emitter writes into a query follows a FROM; a FROM inside
// a literal written into the text only ends the check as before.
bool EmittedStatement::ReadsNoTable() const {
  return !emitted_.sSql.contains(u" FROM ");
}

QString EmittedStatement::Verb() const {
  return emitted_.sSql.contains(u"INSERT INTO ") ? QStringLiteral("INSERT")
                                                 : QStringLiteral("UPDATE");
}

void EmittedStatement::Fail(sqlite3* pDb, int iResult, int iLine, const QString& sVerb) {
  const QString sMessage = QString::fromUtf8(sqlite3_errmsg(pDb));
  ServerErrors::ThrowIfKnown(pDb, iResult, sMessage, sVerb, iLine);
  static const QRegularExpression engineError(QStringLiteral("^TSQL (\\d+): (.*)$"),
                                              QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch match = engineError.match(sMessage);
  if (match.hasMatch()) throw tsql::TsqlError(match.captured(1).toLong(), match.captured(2), iLine);
  // Kept as SQLite's, so that an interrupt by the time limit is still told apart.
  throw TwkError(QStringLiteral("Line ") + QString::number(iLine) + QStringLiteral(": ") + sMessage,
                 QStringLiteral("SQLite"), iResult);
}

}  // namespace twk::embedded
