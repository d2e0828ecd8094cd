// SPDX-License-Identifier: MIT
#pragma once

// Fifty alert definitions of the shapes real sites write, in the T-SQL that
// runs unchanged on SQL Server: lookups of the record by id, counts and sums
// over its registrations and history, joins, top, declare/set, if, the
// output table, and a few whose condition no record meets. They read the
// tables that RealisticDatabase generates. Each carries its hand-written
// SQLite equivalent, which gives the same answer on these tables (dates are
// ISO texts, codes upper case, e-mail addresses lower case). One day a year
// they may differ: a year before 29 February is 1 March to SQLite and
// 28 February to the server.
#include <array>

#include "RealisticBatchDefinitions.h"
#include "RealisticHistoryDefinitions.h"
#include "RealisticLookupDefinitions.h"

namespace twk::bench {

inline const std::array<RealisticDefinition, 50>& RealisticDefinitions() {
  static const std::array<RealisticDefinition, 50> definitions = [] {
    std::array<RealisticDefinition, 50> all{};
    auto pNext = all.begin();
    for (const auto& part : RealisticLookupDefinitions()) *pNext++ = part;
    for (const auto& part : RealisticHistoryDefinitions()) *pNext++ = part;
    for (const auto& part : RealisticBatchDefinitions()) *pNext++ = part;
    return all;
  }();
  return definitions;
}

}  // namespace twk::bench
