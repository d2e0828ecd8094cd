// SPDX-License-Identifier: MIT
#pragma once

#include "DataParser.h"

namespace twk::tsql {

/// Statements of a batch: queries, data changes, declare and set, control
/// flow, exec, transactions and errors; what the engine does not run is
/// refused here by its first words.
class StatementParser : public DataParser {
 public:
  explicit StatementParser(const QString& sBatch) : DataParser(sBatch) {}

  Batch ParseBatch();

 private:
  bool StartsBareCall() const;
  StatementPtr ParseBareCall();
  StatementPtr ParseStatement();
  StatementPtr ParseByFirstWord(const QString& sWord);
  void RefuseByFirstWord(const QString& sWord) const;
  StatementPtr ParseQueryStatement();
  StatementPtr ParseBegin();
  StatementPtr ParseBlockBody(StatementPtr block);
  StatementPtr ParseTryCatch();
  StatementPtr ParseIf();
  StatementPtr ParseWhile();
  StatementPtr ParseReturn();
  StatementPtr ParseSet();
  StatementPtr ParseSetOption();
  StatementPtr ParseExec() override;
  void ParseCall(Statement& statement);
  ExecArgument ParseExecArgument();
  StatementPtr ParseTransaction(Statement::Kind kind);
  StatementPtr ParseRaiserror();
  StatementPtr ParseThrow();
  bool StartsValue() const;

  int iWhileDepth_ = 0;  // the while statements the one being read is inside
};

}  // namespace twk::tsql
