// SPDX-License-Identifier: MIT
#include "RecordIds.h"

#include "Connection.h"
#include "Conversions.h"
#include "RecordQueries.h"
#include "Recordset.h"

namespace twk {

QStringList ReadRecordIds(Connection& connection, int iCount) {
  // The record list's own statements, so that a survey meets the records
  // in the order a person browses them.
  const RecordQueries queries(RecordQueries::ColumnSets().constLast());
  if (iCount == 0) {
    Recordset count = connection.Execute(queries.Count(QString()));
    if (!count.IsEof()) iCount = Conversions::ToLong(count.Field(0));
  }
  QStringList ids;
  if (iCount == 0) return ids;
  for (Recordset records = connection.Execute(queries.Page(QString(), 0, iCount)); !records.IsEof();
       records.MoveNext()) {
    ids << Conversions::ToTextLenient(records.Field(0));
  }
  return ids;
}

}  // namespace twk
