// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>
#include <ostream>
#include <vector>

/// Lets test failures show texts as text.
inline void PrintTo(const QString& sText, std::ostream* pStream) {
  *pStream << sText.toStdString();
}

namespace twk::embedded::test {

/// One row of a table: a SQL expression and either the text of its value
/// (NULL written "NULL") or the number of the T-SQL error it raises.
struct FunctionCase {
  const char* sExpression;
  const char* sExpected;
  long lError = 0;
};

/// An in-memory connection with the engine's functions registered.
class FunctionConnection {
 public:
  FunctionConnection();
  ~FunctionConnection();
  FunctionConnection(const FunctionConnection&) = delete;
  FunctionConnection& operator=(const FunctionConnection&) = delete;

  /// Runs a statement of fixed text, failing the test on an error.
  void Run(const char* sSql);
  /// The first column of the first row of a query, as text, or
  /// "error <number>" for a T-SQL error, or "sqlite: <message>".
  QString Evaluate(const QString& sQuery);
  /// SQLite's message for the last failed Evaluate.
  const QString& LastMessage() const { return sLastMessage_; }

 private:
  QString ErrorText();

  sqlite3* pDb_ = nullptr;
  QString sLastMessage_;
};

/// Evaluates "select <expression>" for every case and checks each answer.
void CheckCases(FunctionConnection& connection, const std::vector<FunctionCase>& cases);

}  // namespace twk::embedded::test
