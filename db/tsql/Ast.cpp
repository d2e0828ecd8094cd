// SPDX-License-Identifier: MIT
#include "Ast.h"

namespace twk::tsql {

Expr::~Expr() {
  std::vector<ExprPtr> pending;
  const auto detach = [&pending](Expr& expr) {
    for (ExprPtr& arg : expr.args) {
      if (arg) pending.push_back(std::move(arg));
    }
    expr.args.clear();
  };
  detach(*this);
  while (!pending.empty()) {
    ExprPtr expr = std::move(pending.back());
    pending.pop_back();
    detach(*expr);
  }  // each expr is freed here with no operands left
}

}  // namespace twk::tsql
