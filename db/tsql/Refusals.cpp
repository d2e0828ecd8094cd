// SPDX-License-Identifier: MIT
#include "Refusals.h"

#include <array>

#include "TsqlError.h"

namespace twk::tsql {

namespace {

using Construct = Refusals::Construct;

struct Entry {
  Construct construct;
  const char* sName;
};

// One row per construct; the names read as the subject of "... is valid T-SQL".
constexpr std::array<Entry, 47> kEntries{{
    {Construct::Merge, "MERGE"},
    {Construct::Cursor, "A cursor (DECLARE CURSOR, OPEN, FETCH, CLOSE, DEALLOCATE)"},
    {Construct::Goto, "GOTO"},
    {Construct::Label, "A statement label"},
    {Construct::Waitfor, "WAITFOR"},
    {Construct::PivotUnpivot, "PIVOT or UNPIVOT"},
    {Construct::RemoteRowset, "OPENQUERY, OPENROWSET, OPENDATASOURCE or OPENXML"},
    {Construct::BulkInsert, "BULK INSERT"},
    {Construct::CreateModule, "CREATE PROCEDURE, FUNCTION, VIEW or TRIGGER"},
    {Construct::CreateOther, "CREATE or DROP of anything but a table (index, schema, type, ...)"},
    {Construct::Alter, "ALTER"},
    {Construct::Use, "USE"},
    {Construct::Output, "The OUTPUT clause"},
    {Construct::Permissions, "GRANT, REVOKE or DENY"},
    {Construct::Administration,
     "A server administration statement (DBCC, BACKUP, RESTORE, KILL, CHECKPOINT, RECONFIGURE, "
     "SHUTDOWN, SETUSER, REVERT)"},
    {Construct::TextPointers, "READTEXT, WRITETEXT or UPDATETEXT"},
    {Construct::ExecuteAs, "EXECUTE AS, or EXECUTE ... AT a linked server"},
    {Construct::FullText,
     "A full-text predicate (CONTAINS, FREETEXT, CONTAINSTABLE, FREETEXTTABLE)"},
    {Construct::ForXmlOther, "FOR XML other than PATH"},
    {Construct::ForJson, "FOR JSON or FOR BROWSE"},
    {Construct::QueryHints, "A query hint (OPTION (...))"},
    {Construct::AllAnySome, "A comparison with ALL, ANY or SOME"},
    {Construct::WindowFrame, "A window frame (ROWS or RANGE in OVER)"},
    {Construct::WithinGroup, "WITHIN GROUP"},
    {Construct::DataType,
     "The text, ntext, image, xml, sql_variant, binary, timestamp, rowversion, datetimeoffset, "
     "hierarchyid, geography or geometry data type"},
    {Construct::ForeignKey, "A FOREIGN KEY or REFERENCES constraint"},
    {Construct::ComputedColumn, "A computed column"},
    {Construct::DistributedTransaction, "A distributed transaction"},
    {Construct::TableSample, "TABLESAMPLE"},
    {Construct::OdbcEscape, "An ODBC escape ({fn ...}, {d ...}, {ts ...})"},
    {Construct::TableFunction, "A table-valued function in a from clause (string_split, ...)"},
    {Construct::Apply, "CROSS APPLY or OUTER APPLY"},
    {Construct::TopWithTies, "TOP ... WITH TIES"},
    {Construct::TopInUpdateDelete, "TOP in an UPDATE or DELETE"},
    {Construct::ForXmlUnion, "FOR XML over a UNION"},
    {Construct::XmlValue, "The xml method value() outside FOR XML PATH"},
    {Construct::InsertExec, "INSERT ... EXEC"},
    {Construct::SelectAssignmentReadsItself,
     "A subquery or aggregate that reads a variable its select assigns"},
    {Construct::ExecuteSqlOutput, "An output parameter of sp_executesql"},
    {Construct::UpdateAssignsVariable, "Assigning a variable in an UPDATE"},
    {Construct::DateArithmetic, "Arithmetic between two dates"},
    {Construct::Collation,
     "A COLLATE clause naming a collation neither case-insensitive nor case-sensitive"},
    {Construct::IdentityOther, "An identity that is not the only key or steps by other than 1"},
    {Construct::SetRowcount, "SET ROWCOUNT"},
    {Construct::SaveTransaction, "SAVE TRANSACTION"},
    {Construct::CheckConstraint, "A CHECK constraint"},
    {Construct::Function,
     "APP_NAME, BINARY_CHECKSUM, CHECKSUM, CURRENT_USER, DB_ID, DIFFERENCE, ERROR_PROCEDURE, "
     "IDENT_CURRENT, OBJECT_NAME, SESSION_USER, SOUNDEX or USER_NAME"},
}};

}  // namespace

QString Refusals::Name(Construct construct) {
  for (const Entry& entry : kEntries) {
    if (entry.construct == construct) return QString::fromUtf8(entry.sName);
  }
  return {};
}

std::optional<Refusals::Construct> Refusals::ByFirstWord(const QString& sLowerWord) {
  static const std::vector<std::pair<QString, Construct>> kByWord{
      {QStringLiteral("merge"), Construct::Merge},
      {QStringLiteral("open"), Construct::Cursor},
      {QStringLiteral("fetch"), Construct::Cursor},
      {QStringLiteral("close"), Construct::Cursor},
      {QStringLiteral("deallocate"), Construct::Cursor},
      {QStringLiteral("goto"), Construct::Goto},
      {QStringLiteral("waitfor"), Construct::Waitfor},
      {QStringLiteral("bulk"), Construct::BulkInsert},
      {QStringLiteral("alter"), Construct::Alter},
      {QStringLiteral("use"), Construct::Use},
      {QStringLiteral("grant"), Construct::Permissions},
      {QStringLiteral("revoke"), Construct::Permissions},
      {QStringLiteral("deny"), Construct::Permissions},
      {QStringLiteral("dbcc"), Construct::Administration},
      {QStringLiteral("backup"), Construct::Administration},
      {QStringLiteral("restore"), Construct::Administration},
      {QStringLiteral("kill"), Construct::Administration},
      {QStringLiteral("checkpoint"), Construct::Administration},
      {QStringLiteral("reconfigure"), Construct::Administration},
      {QStringLiteral("shutdown"), Construct::Administration},
      {QStringLiteral("setuser"), Construct::Administration},
      {QStringLiteral("revert"), Construct::Administration},
      {QStringLiteral("readtext"), Construct::TextPointers},
      {QStringLiteral("writetext"), Construct::TextPointers},
      {QStringLiteral("updatetext"), Construct::TextPointers},
  };
  for (const auto& [sWord, construct] : kByWord) {
    if (sWord == sLowerWord) return construct;
  }
  return std::nullopt;
}

std::vector<Refusals::Construct> Refusals::All() {
  std::vector<Construct> constructs;
  for (const Entry& entry : kEntries) constructs.push_back(entry.construct);
  return constructs;
}

QString Refusals::Message(Construct construct) {
  return Name(construct) +
         QStringLiteral(" is valid T-SQL, but the embedded engine does not run it.");
}

void Refusals::Refuse(Construct construct, int iLine) {
  throw TsqlError(NotRunByEngine, Message(construct), iLine);
}

}  // namespace twk::tsql
