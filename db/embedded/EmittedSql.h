// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "SqlType.h"
#include "Token.h"

namespace twk::tsql {
struct Expr;
}

namespace twk::embedded {

/// One "?" of an emitted statement, in the order of the text: what the
/// executor binds to it when the statement runs.
struct EmittedParameter {
  enum class Kind {
    Variable,        // sName "@x": the variable's current value
    SystemVariable,  // sName "@@spid", lower case
    Value,           // value: a literal of the author's text (QString, qlonglong or double)
    RowValue,        // value: the index of the value in the row the assigning select just read
  };

  Kind kind = Kind::Value;
  QString sName;
  QVariant value;
  tsql::SqlType type;                    // the type the binder gave the variable or literal
  const tsql::Expr* pLiteral = nullptr;  // Value: the literal of the tree it came from

  // Where a literal came from is no part of what is bound.
  friend bool operator==(const EmittedParameter& a, const EmittedParameter& b) {
    return a.kind == b.kind && a.sName == b.sName && a.value == b.value && a.type == b.type;
  }
};

/// One column of a select's first result as T-SQL names and types it.
struct EmittedColumn {
  QString sName;  // empty for a column the server leaves unnamed
  tsql::SqlType type;
  QString sVariable;        // select @v = expr: the variable the executor assigns, else empty
  QString sAssignOperator;  // "=", "+=", ... with sVariable
};

/// One SQLite statement written from the tree, with what it needs to run.
struct EmittedSql {
  QString sSql;
  std::vector<EmittedParameter> parameters;
  std::vector<EmittedColumn> columns;  // the rows a select gives, else empty
  // A select that assigns a variable and reads one it assigns runs row by
  // row: sSql gives each row's values that the variables do not change, and
  // one statement per column computes its value from them, in order.
  std::vector<EmittedSql> steps;
  // Literals written into sSql itself, which a run with other values cannot reuse.
  std::vector<const tsql::Expr*> inlinedLiterals;
  // The statement or expression of the batch it was emitted from.
  tsql::SourceSpan source;
};

}  // namespace twk::embedded
