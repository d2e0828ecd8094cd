// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <QString>

namespace twk::embedded {

/// A value as SQLite stores it for the engine: NULL, INTEGER, REAL or TEXT
/// (bytes are read as text).
struct TsqlValue {
  enum class Storage { Null, Integer, Real, Text };

  Storage storage = Storage::Null;
  qint64 lInteger = 0;
  double dReal = 0;
  QString sText;

  static TsqlValue Of(sqlite3_value* pValue);
  static TsqlValue Integer(qint64 lValue) { return {Storage::Integer, lValue, 0, {}}; }
  static TsqlValue Real(double dValue) { return {Storage::Real, 0, dValue, {}}; }
  static TsqlValue Text(QString sValue) { return {Storage::Text, 0, 0, std::move(sValue)}; }

  bool IsNull() const { return storage == Storage::Null; }
  /// The number an INTEGER or REAL holds (0 for others).
  double Number() const { return storage == Storage::Integer ? double(lInteger) : dReal; }
  /// Sets a function's result to the value.
  void SetResult(sqlite3_context* pContext) const;
};

}  // namespace twk::embedded
