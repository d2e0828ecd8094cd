// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "Ast.h"
#include "Binding.h"
#include "SqlBuilder.h"

namespace twk::embedded {

/// What insert and update write about the table they change: its columns,
/// the server's truncation check around a value for a column of limited
/// length, and where the target stands in a from list that names it.
class TargetWriter {
 public:
  TargetWriter(SqlBuilder& sql, const tsql::Statement& statement,
               const tsql::StatementBinding& binding);

  /// The target's columns in their defined order, empty when unknown.
  const std::vector<tsql::CatalogColumn>& Columns() const { return columns_; }
  const tsql::CatalogColumn* Find(const QString& sColumn) const;

  /// The value for a column, inside tsql_check_length when the column is a
  /// text of limited length, so that a longer value fails as on the server.
  void Value(const QString& sColumn, const tsql::Expr& value);
  /// column op= value as the value it assigns; sQualifier names the target.
  void Compound(const tsql::Assignment& assignment, const QString& sQualifier);

  /// The item of the from list that is the target (named by its alias or
  /// its name), or null when the target is not in the list.
  const tsql::TableRef* InFrom() const { return FindInFrom(statement_); }
  static const tsql::TableRef* FindInFrom(const tsql::Statement& statement);
  /// The name the target is known by in its statement: its alias in the
  /// from list, else its own last name part.
  static QString ExposedName(const tsql::TableRef* pInFrom, const tsql::ObjectName& target);

 private:
  void Checked(const QString& sColumn, const std::function<void()>& value);

  SqlBuilder& sql_;
  const tsql::Statement& statement_;
  std::vector<tsql::CatalogColumn> columns_;
  QString sTable_;
};

}  // namespace twk::embedded
