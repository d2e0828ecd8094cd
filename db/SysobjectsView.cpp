// SPDX-License-Identifier: MIT
#include "SysobjectsView.h"

#include <string>

#include "SqliteHandles.h"

namespace twk {

namespace {

constexpr const char* sObjectsPart =
    "create temp view sysobjects as "
    "select name, 1 as uid, case type when 'table' then 'U' else 'V' end as type "
    "from main.sqlite_master "
    "where type in ('table', 'view') and name not like 'sqlite\\_%' escape '\\' "
    "and lower(name) not in ('twk_procedures', 'twk_connections')";

constexpr const char* sProceduresPart = " union all select name, 1, 'P' from main.twk_procedures";

}  // namespace

void SysobjectsView::Prepare() {
  const bool bWithProcedures = MainObjectExists(pDb_, "twk_procedures");
  if (bCreated_ && bWithProcedures == bWithProcedures_) return;
  if (!bCreated_ && MainObjectExists(pDb_, "sysobjects")) return;  // the file's own wins
  Drop();
  const std::string sCreate = std::string(sObjectsPart) + (bWithProcedures ? sProceduresPart : "");
  RunFixed(pDb_, sCreate.c_str());
  bCreated_ = true;
  bWithProcedures_ = bWithProcedures;
}

void SysobjectsView::Drop() noexcept {
  if (!bCreated_) return;
  bCreated_ = false;
  RunFixedQuietly(pDb_, "drop view if exists temp.sysobjects");
}

}  // namespace twk
