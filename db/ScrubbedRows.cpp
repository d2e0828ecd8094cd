// SPDX-License-Identifier: MIT
#include "ScrubbedRows.h"

#include <utility>

#include "TwkError.h"

namespace twk {

ScrubbedRows::ScrubbedRows(std::shared_ptr<RowSource> rows, ConnectionSettings settings)
    : rows_(std::move(rows)), settings_(std::move(settings)) {}

bool ScrubbedRows::Next(Recordset::Row& row) {
  try {
    return rows_->Next(row);
  } catch (const TwkError& error) {
    throw settings_.Scrub(error);
  }
}

}  // namespace twk
