// SPDX-License-Identifier: MIT
#include "OdbcResultReader.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <array>
#include <utility>

#include "OdbcDiagnostics.h"
#include "OdbcText.h"

namespace twk {

namespace {

// Long texts and images arrive in pieces of this many bytes.
constexpr SQLLEN lChunkBytes = 8192;

// SQL Server's own types, as its drivers and FreeTDS report them.
constexpr SQLSMALLINT iSqlServerTime = -154;
constexpr SQLSMALLINT iSqlServerDateTimeOffset = -155;

// How many bytes of a piece SQLGetData filled, given what it says remains
// and how much room the buffer had for data.
SQLLEN BytesReceived(SQLLEN lIndicator, SQLLEN lRoom) {
  return (lIndicator == SQL_NO_TOTAL || lIndicator > lRoom) ? lRoom : lIndicator;
}

bool MoreToCome(SQLRETURN iReturn, SQLLEN lIndicator, SQLLEN lRoom) {
  return iReturn == SQL_SUCCESS_WITH_INFO && (lIndicator == SQL_NO_TOTAL || lIndicator > lRoom);
}

}  // namespace

bool OdbcResultReader::FetchRow(Recordset::Row& row) {
  if (OdbcDiagnostics::Check(SQLFetch(statement_), SQL_HANDLE_STMT, statement_) == SQL_NO_DATA) {
    return false;
  }
  row.clear();
  row.reserve(columnTypes_.size());
  for (std::size_t i = 0; i < columnTypes_.size(); ++i) {
    row.push_back(ReadValue(SQLUSMALLINT(i + 1), columnTypes_[i]));
  }
  return true;
}

void OdbcResultReader::DescribeColumns(SQLSMALLINT iColumnCount) {
  columnNames_.clear();
  columnTypes_.clear();
  for (SQLUSMALLINT iColumn = 1; iColumn <= SQLUSMALLINT(iColumnCount); ++iColumn) {
    std::vector<SQLWCHAR> name(256);
    SQLSMALLINT iNameLength = 0, iSqlType = 0, iDigits = 0, iNullable = 0;
    SQLULEN lSize = 0;
    auto describe = [&] {
      return OdbcDiagnostics::Check(
          SQLDescribeColW(statement_, iColumn, name.data(), SQLSMALLINT(name.size()), &iNameLength,
                          &iSqlType, &lSize, &iDigits, &iNullable),
          SQL_HANDLE_STMT, statement_);
    };
    describe();
    if (iNameLength >= SQLSMALLINT(name.size())) {
      name.resize(std::size_t(iNameLength) + 1);
      describe();
    }
    columnNames_.append(TextFromOdbc(name.data(), qMax<SQLSMALLINT>(iNameLength, 0)));
    columnTypes_.push_back(iSqlType);
  }
}

QVariant OdbcResultReader::ReadValue(SQLUSMALLINT iColumn, SQLSMALLINT iSqlType) {
  switch (iSqlType) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return ReadInteger(iColumn);
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return ReadDouble(iColumn);
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return ReadDecimal(iColumn);
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return ReadDate(iColumn);
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case iSqlServerTime:
      return ReadTime(iColumn);
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return ReadTimestamp(iColumn);
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return ReadBytes(iColumn);
    case iSqlServerDateTimeOffset:  // the offset has no home in QDateTime: keep the text
    default:
      return ReadText(iColumn);
  }
}

SQLRETURN OdbcResultReader::GetData(SQLUSMALLINT iColumn, SQLSMALLINT iTargetType,
                                    SQLPOINTER pTarget, SQLLEN lBufferLength, SQLLEN* pIndicator) {
  return OdbcDiagnostics::Check(
      SQLGetData(statement_, iColumn, iTargetType, pTarget, lBufferLength, pIndicator),
      SQL_HANDLE_STMT, statement_);
}

QVariant OdbcResultReader::ReadInteger(SQLUSMALLINT iColumn) {
  SQLBIGINT lValue = 0;
  SQLLEN lIndicator = 0;
  GetData(iColumn, SQL_C_SBIGINT, &lValue, 0, &lIndicator);
  if (lIndicator == SQL_NULL_DATA) return {};
  return QVariant(qint64(lValue));
}

QVariant OdbcResultReader::ReadDouble(SQLUSMALLINT iColumn) {
  SQLDOUBLE dValue = 0;
  SQLLEN lIndicator = 0;
  GetData(iColumn, SQL_C_DOUBLE, &dValue, 0, &lIndicator);
  if (lIndicator == SQL_NULL_DATA) return {};
  return QVariant(double(dValue));
}

QVariant OdbcResultReader::ReadDecimal(SQLUSMALLINT iColumn) {
  // Kept as the driver's text: a decimal(38) holds more digits than a
  // double, and every conversion the helpers make reads numbers from text.
  QVariant text = ReadText(iColumn);
  if (text.isNull()) return text;
  return QVariant(text.toString().trimmed());
}

QVariant OdbcResultReader::ReadDate(SQLUSMALLINT iColumn) {
  SQL_DATE_STRUCT date = {};
  SQLLEN lIndicator = 0;
  GetData(iColumn, SQL_C_TYPE_DATE, &date, sizeof date, &lIndicator);
  if (lIndicator == SQL_NULL_DATA) return {};
  return QVariant(QDate(date.year, date.month, date.day));
}

QVariant OdbcResultReader::ReadTime(SQLUSMALLINT iColumn) {
  // SQL_TIME_STRUCT has no fraction of a second; the text form keeps it.
  QVariant text = ReadText(iColumn);
  if (text.isNull()) return text;
  const QString sText = text.toString().trimmed();
  const QTime time = QTime::fromString(sText.left(12), Qt::ISODateWithMs);
  if (time.isValid()) return QVariant(time);
  const QTime whole = QTime::fromString(sText.left(8), Qt::ISODate);
  return whole.isValid() ? QVariant(whole) : QVariant(sText);
}

QVariant OdbcResultReader::ReadTimestamp(SQLUSMALLINT iColumn) {
  SQL_TIMESTAMP_STRUCT stamp = {};
  SQLLEN lIndicator = 0;
  GetData(iColumn, SQL_C_TYPE_TIMESTAMP, &stamp, sizeof stamp, &lIndicator);
  if (lIndicator == SQL_NULL_DATA) return {};
  // The fraction counts nanoseconds.
  return QVariant(
      QDateTime(QDate(stamp.year, stamp.month, stamp.day),
                QTime(stamp.hour, stamp.minute, stamp.second, int(stamp.fraction / 1000000))));
}

QVariant OdbcResultReader::ReadText(SQLUSMALLINT iColumn) {
  // Each piece ends in a terminator that takes one code unit of the room.
  std::array<SQLWCHAR, lChunkBytes / sizeof(SQLWCHAR)> buffer{};
  constexpr SQLLEN lRoom = lChunkBytes - SQLLEN(sizeof(SQLWCHAR));
  QString sText(QStringLiteral(""));
  for (;;) {
    SQLLEN lIndicator = 0;
    const SQLRETURN iReturn =
        GetData(iColumn, SQL_C_WCHAR, buffer.data(), lChunkBytes, &lIndicator);
    if (iReturn == SQL_NO_DATA) break;
    if (lIndicator == SQL_NULL_DATA) return {};
    const SQLLEN lBytes = BytesReceived(lIndicator, lRoom);
    sText.append(TextFromOdbc(buffer.data(), qsizetype(lBytes / SQLLEN(sizeof(SQLWCHAR)))));
    if (!MoreToCome(iReturn, lIndicator, lRoom)) break;
  }
  return QVariant(sText);
}

QVariant OdbcResultReader::ReadBytes(SQLUSMALLINT iColumn) {
  std::array<char, lChunkBytes> buffer{};
  QByteArray bytes("");
  for (;;) {
    SQLLEN lIndicator = 0;
    const SQLRETURN iReturn =
        GetData(iColumn, SQL_C_BINARY, buffer.data(), lChunkBytes, &lIndicator);
    if (iReturn == SQL_NO_DATA) break;
    if (lIndicator == SQL_NULL_DATA) return {};
    const SQLLEN lBytes = BytesReceived(lIndicator, lChunkBytes);
    bytes.append(buffer.data(), qsizetype(lBytes));
    if (!MoreToCome(iReturn, lIndicator, lChunkBytes)) break;
  }
  return QVariant(bytes);
}

}  // namespace twk
