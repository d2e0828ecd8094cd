// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

namespace twk::embedded {

/// Gives a connection the collation TSQL and the tsql_ functions through
/// which the SQLite SQL emitted for a T-SQL batch gives the server's answers.
/// Values follow the engine's representation (numbers as INTEGER or REAL,
/// text and dates as TEXT); a failure is the function's error
/// "TSQL <number>: <message>". Throws TwkError when SQLite refuses one.
void RegisterTsqlFunctions(sqlite3* pDb);

}  // namespace twk::embedded
