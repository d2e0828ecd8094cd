// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>

namespace twk::embedded {

/// The server's functions about the database and the session: object_id,
/// db_name, suser_sname and newid.
class TsqlSystemFunctions {
 public:
  /// object_id(name [, type]): a number for a table, view or procedure of
  /// the database or a #table of the connection, NULL for none. The number
  /// stays the same while the object does.
  static void ObjectId(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// The database's name: its file's base name, "tempdb" for one in memory.
  static void DbName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  static QString DatabaseName(sqlite3* pDb);
  /// The login: the embedded database has none of its own, so the user
  /// the program runs as.
  static void SuserSname(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// The workstation: this machine's name.
  static void HostName(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// tsql_fail(number, message): the server's run-time error, where SQLite
  /// decides that it happens (a subquery's second row).
  static void Fail(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
  /// A new uniqueidentifier in the server's text form (36 characters, capitals).
  static void NewId(sqlite3_context* pContext, int iCount, sqlite3_value** ppArguments);
};

}  // namespace twk::embedded
