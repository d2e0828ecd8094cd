// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "Ast.h"
#include "Catalog.h"
#include "SqlType.h"

namespace twk::tsql {

/// A row source of a statement: a table, a temporary table, a table
/// variable, a common table or a derived table, under the name the query
/// exposes it by.
struct BoundSource {
  enum class Origin { Table, TableVariable, CommonTable, Derived };
  Origin origin = Origin::Table;
  const TableRef* ref = nullptr;  // null for the target named by insert/update/delete
  QString sExposedName;           // the alias, else the table's last name part
  ObjectName object;              // Table, TableVariable: the name as written
  std::vector<CatalogColumn> columns;
};

/// What a column reference (an Expr::Column, by its iBinding) resolved to:
/// a column of a source, or, in an order by, an item of the select list.
struct BoundColumn {
  int iSource = -1;      // index into StatementBinding::sources, or -1
  int iColumn = -1;      // index into that source's columns
  int iSelectItem = -1;  // order by <alias>: index into the select list
};

/// One column of a result: its name (the alias, the column's name, or empty
/// for an unnamed expression) and its type.
struct ResultColumn {
  QString sName;
  SqlType type;
  bool bNullable = true;
};

/// What the binder learnt about one statement.
struct StatementBinding {
  /// The statement names an object that does not exist at compile time; the
  /// server compiles such a statement when it reaches it, and so must the
  /// executor (Binder::BindDeferred), after the statements before it ran.
  bool bDeferred = false;
  QString sUnresolvedObject;
  /// How many of the batch's variables were declared before the statement.
  int iVisibleVariables = 0;
  std::vector<BoundSource> sources;
  std::vector<BoundColumn> columns;
  /// Insert, update, delete, truncate: the source that is written to.
  int iTarget = -1;
  /// The columns of the result a select sends (empty for a select that only
  /// assigns variables), or the columns a select ... into makes.
  std::vector<ResultColumn> result;
};

/// A variable of the batch, in the order of its declare.
struct BoundVariable {
  QString sName;  // "@x" as declared
  SqlType type;
  bool bTable = false;
  std::vector<CatalogColumn> columns;  // table variables
};

}  // namespace twk::tsql
