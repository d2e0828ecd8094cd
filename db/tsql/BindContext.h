// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "Binding.h"
#include "Catalog.h"

namespace twk::tsql {

/// A statement names a table that does not exist (yet): the server leaves
/// such a statement to be compiled when it runs.
struct UnresolvedObject {
  ObjectName name;
};

/// A common table of a with clause, as the queries after it see it.
struct CommonTableShape {
  QString sName;
  std::vector<CatalogColumn> columns;
};

/// What the parts of the binder share while they bind one statement.
struct BindContext {
  const Catalog& catalog;
  std::vector<BoundVariable>& variables;
  int iVisibleVariables = 0;  // variables declared before the statement
  StatementBinding* binding = nullptr;
  std::vector<CommonTableShape> commonTables;  // innermost last

  /// The visible variable of that name (any case), or -1.
  int FindVariable(const QString& sName) const {
    for (int i = 0; i < iVisibleVariables; ++i) {
      if (variables[i].sName.compare(sName, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
  }
};

}  // namespace twk::tsql
