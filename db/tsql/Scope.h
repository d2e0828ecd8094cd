// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "Ast.h"
#include "Binding.h"

namespace twk::tsql {

/// The row sources one query sees, inside the scope of the query around it
/// (a subquery sees the columns of its outer queries). Resolves column names
/// as the server does, with its errors: 207, 209, 4104.
class Scope {
 public:
  Scope(StatementBinding& binding, const Scope* outer) : binding_(binding), outer_(outer) {}

  /// Adds a source under its exposed name; 1013 when the name is taken.
  int AddSource(BoundSource source, int iLine);

  /// Resolves an Expr::Column: fills its type and iBinding (an index into
  /// the statement's columns).
  void ResolveColumn(Expr& expr) const;

  /// The sources a * or t.* of a select list stands for, in order; 263 when
  /// there is no from clause, 107 when the qualifier names no source.
  std::vector<int> StarSources(const Expr& star) const;

  /// Whether the bound column belongs to a source of this scope, not to an
  /// outer query's.
  bool IsLocal(const BoundColumn& column) const;

  /// The source a one- or more-part name (a table, or an alias) designates
  /// here, or -1.
  int FindSource(const std::vector<QString>& qualifier) const;

  const std::vector<int>& Sources() const { return sources_; }
  StatementBinding& Binding() const { return binding_; }

 private:
  // Finds the column in the sources of this scope alone: the number of
  // sources that have it (0, 1 or more), the first match in `found`.
  int FindHere(const std::vector<QString>& parts, BoundColumn& found) const;

  StatementBinding& binding_;
  const Scope* outer_;
  std::vector<int> sources_;
};

}  // namespace twk::tsql
