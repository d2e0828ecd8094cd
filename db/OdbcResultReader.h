// SPDX-License-Identifier: MIT
#pragma once

#include <sql.h>

#include <QStringList>
#include <QVariant>
#include <vector>

#include "Recordset.h"

namespace twk {

/// Fetches the current result of an executed ODBC statement whole: its
/// column names and every row, each value converted by the column's SQL type.
class OdbcResultReader {
 public:
  explicit OdbcResultReader(SQLHSTMT statement) : statement_(statement) {}

  /// Reads the iColumnCount columns and all rows of the current result.
  Recordset FetchAll(SQLSMALLINT iColumnCount);

 private:
  void DescribeColumns(SQLSMALLINT iColumnCount);
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
