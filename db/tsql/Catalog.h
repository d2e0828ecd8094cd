// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "Ast.h"
#include "SqlType.h"

namespace twk::tsql {

/// One column of a table as the backend stores it.
struct CatalogColumn {
  QString sName;
  SqlType type;
  bool bNullable = true;
  bool bIdentity = false;
};

/// A table or view the backend knows, its columns in their defined order.
struct CatalogTable {
  QString sName;  // as the backend spells it
  std::vector<CatalogColumn> columns;
};

/// What the binder asks of a backend: the tables that exist now. Temporary
/// tables made by earlier batches of the connection are found here too; the
/// tables, variables and common tables of the batch being bound are the
/// binder's own.
class Catalog {
 public:
  virtual ~Catalog() = default;

  /// The table a name of one to four parts designates, or nothing when no
  /// such table exists (yet). Names compare without regard to case.
  virtual std::optional<CatalogTable> FindTable(const ObjectName& name) const = 0;
};

}  // namespace twk::tsql
