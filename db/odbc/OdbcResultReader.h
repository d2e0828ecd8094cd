// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>

#include <QStringList>
#include <QVariant>
#include <vector>

#include "Recordset.h"

namespace twk {

/// Reads the current result of an executed ODBC statement a row at a time:
/// its column names, then each row with every value converted by the
/// column's SQL type.
class OdbcResultReader {
 public:
  explicit OdbcResultReader(SQLHSTMT statement) : statement_(statement) {}

  /// Learns the names and types of the current result's iColumnCount columns.
  void DescribeColumns(SQLSMALLINT iColumnCount);
  const QStringList& ColumnNames() const noexcept { return columnNames_; }

  /// Fetches the next row of the current result into row; false at its end.
  bool FetchRow(Recordset::Row& row);

 private:
  QVariant ReadValue(SQLUSMALLINT iColumn, SQLSMALLINT iSqlType);
  QVariant ReadInteger(SQLUSMALLINT iColumn);
  QVariant ReadDouble(SQLUSMALLINT iColumn);
  QVariant ReadDecimal(SQLUSMALLINT iColumn);
  QVariant ReadDate(SQLUSMALLINT iColumn);
  QVariant ReadTime(SQLUSMALLINT iColumn);
  QVariant ReadTimestamp(SQLUSMALLINT iColumn);
  QVariant ReadText(SQLUSMALLINT iColumn);
  QVariant ReadBytes(SQLUSMALLINT iColumn);
  SQLRETURN GetData(SQLUSMALLINT iColumn, SQLSMALLINT iTargetType, SQLPOINTER pTarget,
                    SQLLEN lBufferLength, SQLLEN* pIndicator);

  SQLHSTMT statement_;
  QStringList columnNames_;
  std::vector<SQLSMALLINT> columnTypes_;
};

}  // namespace twk
