// SPDX-License-Identifier: MIT
#pragma once

#include "Ast.h"
#include "Builtins.h"

namespace twk::tsql {

class ExprBinder;

/// Binds calls of built-in functions and casts: the function's name and
/// argument count, each argument converted to what the function takes, the
/// type of the result, and where aggregates and windowed functions may stand.
class CallBinder {
 public:
  explicit CallBinder(ExprBinder& expressions) : expressions_(expressions) {}

  void BindFunction(Expr& expr);
  void BindCast(Expr& expr);

 private:
  void CheckPlacement(const Builtins::Function& function, const Expr& expr);
  void BindArguments(const Builtins::Function& function, Expr& expr);
  void ConvertArgument(const Builtins::Function& function, Expr& expr, int iArgument);
  void BindDatePart(const Builtins::Function& function, Expr& part);

  ExprBinder& expressions_;
};

}  // namespace twk::tsql
