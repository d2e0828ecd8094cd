// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <memory>

namespace twk {

/// Frees one ODBC handle; never throws. A connection is disconnected first,
/// which a connection that never connected merely answers with an error
/// nobody reads.
template <SQLSMALLINT HandleType>
struct OdbcFree {
  void operator()(SQLHANDLE handle) const noexcept {
    if constexpr (HandleType == SQL_HANDLE_DBC) SQLDisconnect(handle);
    SQLFreeHandle(HandleType, handle);
  }
};

/// One owner per ODBC handle kind. Declare a statement after its connection
/// and the connection after its environment so that they are freed in the
/// order ODBC requires.
using OdbcEnvironmentHandle = std::unique_ptr<void, OdbcFree<SQL_HANDLE_ENV>>;
using OdbcConnectionHandle = std::unique_ptr<void, OdbcFree<SQL_HANDLE_DBC>>;
using OdbcStatementHandle = std::unique_ptr<void, OdbcFree<SQL_HANDLE_STMT>>;

}  // namespace twk
