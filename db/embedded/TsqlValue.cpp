// SPDX-License-Identifier: MIT
#include "TsqlValue.h"

#include "FunctionArguments.h"

namespace twk::embedded {

TsqlValue TsqlValue::Of(sqlite3_value* pValue) {
  switch (sqlite3_value_type(pValue)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return Integer(sqlite3_value_int64(pValue));
    case SQLITE_FLOAT:
      return Real(sqlite3_value_double(pValue));
    default:
      return Text(TextArgument(pValue));
  }
}

void TsqlValue::SetResult(sqlite3_context* pContext) const {
  switch (storage) {
    case Storage::Null:
      sqlite3_result_null(pContext);
      break;
    case Storage::Integer:
      sqlite3_result_int64(pContext, lInteger);
      break;
    case Storage::Real:
      sqlite3_result_double(pContext, dReal);
      break;
    case Storage::Text:
      ResultText(pContext, sText);
      break;
  }
}

}  // namespace twk::embedded
