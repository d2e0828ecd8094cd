// SPDX-License-Identifier: MIT
#include "TsqlStringAgg.h"

#include <QString>
#include <memory>

#include "FunctionArguments.h"

namespace twk::embedded {

namespace {

// SQLite hands out zeroed memory per group: it holds the one pointer to
// the text, made on the first value and freed by the final call.
struct Slot {
  QString* pText;
};

void Step(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  auto* pSlot = static_cast<Slot*>(sqlite3_aggregate_context(pContext, sizeof(Slot)));
  if (!pSlot) return sqlite3_result_error_nomem(pContext);
  if (sqlite3_value_type(ppArguments[0]) == SQLITE_NULL) return;
  try {
    if (!pSlot->pText) {
      pSlot->pText = std::make_unique<QString>().release();
    } else {
      *pSlot->pText += TextArgument(ppArguments[1]);
    }
    *pSlot->pText += TextArgument(ppArguments[0]);
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(pContext);
  }
}

void Final(sqlite3_context* pContext) {
  auto* pSlot = static_cast<Slot*>(sqlite3_aggregate_context(pContext, 0));
  if (!pSlot || !pSlot->pText) return sqlite3_result_null(pContext);
  const std::unique_ptr<QString> text(pSlot->pText);
  pSlot->pText = nullptr;
  ResultText(pContext, *text);
}

}  // namespace

void TsqlStringAgg::Register(sqlite3* pDb) {
  CheckRegistration(
      pDb, sqlite3_create_function_v2(pDb, "tsql_string_agg", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                      nullptr, nullptr, Step, Final, nullptr));
}

}  // namespace twk::embedded
