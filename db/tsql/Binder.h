// SPDX-License-Identifier: MIT
#pragma once

#include <unordered_map>
#include <vector>

#include "Ast.h"
#include "Binding.h"
#include "Catalog.h"

namespace twk::tsql {

struct BindContext;

/// Binds the statements of a batch as the server compiles them: every name
/// resolved (tables through the catalogue; temporary tables, table
/// variables, common tables and derived tables by scope), every expression
/// typed by T-SQL's rules, and the conversions the server makes written into
/// the tree as implicit casts. A statement that names a table not existing
/// yet is left to run time, as the server defers it.
class Binder {
 public:
  explicit Binder(const Catalog& catalog) : catalog_(catalog) {}

  /// Binds every statement in order, nested ones included, and throws the
  /// first error the server would give when compiling the batch. A variable
  /// is known from its declare to the end of the batch, whatever the block.
  void BindBatch(Batch& batch);

  /// Binds a statement deferred at compile time, now that the statements
  /// before it ran: 208 when its object still does not exist. Statements
  /// nested in an if or a while keep their own bindings.
  const StatementBinding& BindDeferred(Statement& statement);

  /// What was learnt of a statement of the bound batch, or null.
  const StatementBinding* Find(const Statement& statement) const;

  /// The batch's variables in the order of their declare.
  const std::vector<BoundVariable>& Variables() const { return variables_; }

 private:
  void Bind(Statement& statement);
  // Binds what belongs to the statement itself, not the statements it holds.
  void BindOwn(Statement& statement, BindContext& context);
  void BindDeclare(Statement& statement, BindContext& context);
  void BindInsert(Statement& statement, BindContext& context);
  void BindUpdateOrDelete(Statement& statement, BindContext& context);
  void BindSetVariable(Statement& statement, BindContext& context);

  const Catalog& catalog_;
  std::vector<BoundVariable> variables_;
  std::unordered_map<const Statement*, StatementBinding> bindings_;
};

}  // namespace twk::tsql
