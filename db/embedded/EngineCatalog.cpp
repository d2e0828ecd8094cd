// SPDX-License-Identifier: MIT
#include "EngineCatalog.h"

namespace twk::embedded {

bool EngineCatalog::IsMadeForTheBatch(const tsql::ObjectName& name) {
  return !name.parts.empty() && name.Last().compare(u"sysobjects", Qt::CaseInsensitive) == 0;
}

std::optional<tsql::CatalogTable> EngineCatalog::FindTable(const tsql::ObjectName& name) const {
  std::optional<tsql::CatalogTable> table = tables_.FindTable(name);
  if (table || name.IsTemporary() || !IsMadeForTheBatch(name)) {
    return table;  // a sysobjects table of the file's own wins
  }
  sysobjects_.Prepare();
  using Kind = tsql::SqlType::Kind;
  return tsql::CatalogTable{QStringLiteral("sysobjects"),
                            {{QStringLiteral("name"), tsql::SqlType::Of(Kind::NVarChar, 128)},
                             {QStringLiteral("uid"), tsql::SqlType::Of(Kind::SmallInt)},
                             {QStringLiteral("type"), tsql::SqlType::Of(Kind::Char, 2)}}};
}

}  // namespace twk::embedded
