// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace twk::tsql {

/// Valid T-SQL that the embedded engine does not run. The parser refuses each
/// of these when it meets it, with a message that names the construct, so that
/// nothing is ever run with a meaning the server would not give it. The
/// README's list of what is not run is this list.
class Refusals {
 public:
  enum class Construct {
    Merge,
    Cursor,
    Goto,
    Label,
    Waitfor,
    PivotUnpivot,
    RemoteRowset,
    BulkInsert,
    CreateModule,
    CreateOther,
    Alter,
    Use,
    Output,
    Permissions,
    Administration,
    TextPointers,
    ExecuteAs,
    FullText,
    ForXmlOther,
    ForJson,
    QueryHints,
    AllAnySome,
    WindowFrame,
    WithinGroup,
    DataType,
    ForeignKey,
    ComputedColumn,
    DistributedTransaction,
    TableSample,
    OdbcEscape,
    TableFunction,
    Apply,
    TopWithTies,
    TopInUpdateDelete,
    ForXmlUnion,
    XmlValue,
    InsertExec,
    SelectAssignmentReadsItself,
    ExecuteSqlOutput,
    UpdateAssignsVariable,
    DateArithmetic,
    Collation,
    IdentityOther,
    SetRowcount,
    SaveTransaction,
    CheckConstraint,
    Function,
  };

  /// The name of the construct as the message and the README show it.
  static QString Name(Construct construct);

  /// Every construct, in the README's order.
  static std::vector<Construct> All();

  /// "MERGE is valid T-SQL, but the embedded engine does not run it."
  static QString Message(Construct construct);

  /// The construct a statement starting with this word (lower case) is, when
  /// the engine does not run it.
  static std::optional<Construct> ByFirstWord(const QString& sLowerWord);

  /// Throws the refusal (a TsqlError numbered NotRunByEngine) for a line.
  [[noreturn]] static void Refuse(Construct construct, int iLine);
};

}  // namespace twk::tsql
