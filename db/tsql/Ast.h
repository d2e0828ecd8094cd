// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "SqlType.h"
#include "Token.h"

namespace twk::tsql {

struct Expr;
struct QueryExpr;
struct Statement;
struct TableRef;
using ExprPtr = std::unique_ptr<Expr>;
using QueryPtr = std::unique_ptr<QueryExpr>;
using StatementPtr = std::unique_ptr<Statement>;
using TableRefPtr = std::unique_ptr<TableRef>;

/// A name of one to four parts as written, brackets and quotes removed:
/// [dbo].[Name] is {"dbo", "Name"}, #flags is {"#flags"}.
struct ObjectName {
  std::vector<QString> parts;
  SourceSpan span;

  const QString& Last() const { return parts.back(); }
  bool IsTemporary() const { return !parts.empty() && parts.back().startsWith(u'#'); }
};

struct OrderItem {
  ExprPtr expr;
  bool bDescending = false;
};

/// One node of an expression. The parser fills the shape; the binder fills
/// `type` (and may note what a name resolved to in `iBinding`), so that the
/// emitter writes every conversion and comparison the server would make.
struct Expr {
  Expr() = default;
  Expr(Expr&&) = default;
  Expr& operator=(Expr&&) = default;
  /// Frees the operands in a loop: a chain of 100,000 terms is as deep.
  ~Expr();

  enum class Kind {
    Literal,         // sValue (unescaped text, or the number as written); type from the token
    Variable,        // sName, "@x" as written
    SystemVariable,  // sName in lower case, "@@rowcount"
    Column,          // name: [table alias or schema parts...,] column; also the bare
                     // datepart word of dateadd/datediff/datepart/datename (day, dd, ...)
    Star,            // * or t.*: name holds the qualifier, if any
    Unary,           // sOperator "-", "+", "~"; args[0]
    Binary,          // sOperator "+", "-", "*", "/", "%", "&", "|", "^"; args[0], args[1]
    Comparison,  // sOperator "=", "<>", "<", ">", "<=", ">=" (!= is "<>", !< is ">=", !> is "<=")
    And,         // args[0], args[1]
    Or,          // args[0], args[1]
    Not,         // args[0]
    IsNull,      // args[0]; bNegated for IS NOT NULL
    Between,     // args[0] between args[1] and args[2]; bNegated
    Like,        // args[0] like args[1] [escape args[2]]; bNegated
    InList,      // args[0] in (args[1], ...); bNegated
    InQuery,     // args[0] in (query); bNegated
    Exists,      // exists (query)
    Subquery,    // (query) giving one value
    Case,        // case [args[0] when simple] when.. then.. [else elseExpr] end
    Function,    // sName in lower case (schema dropped: dbo.f is "f" with name holding all parts)
    Cast,     // cast/try_cast/convert/try_convert (sName); args[0] value, args[1] style; targetType
    Collate,  // args[0] collate sName
    XmlValue,  // (query for xml path ...).value(args[1] path, args[2] type): args[0] the subquery
  };

  Kind kind = Kind::Literal;
  SourceSpan span;
  QString sName;
  QString sOperator;
  QString sValue;
  ObjectName name;
  std::vector<ExprPtr> args;
  QueryPtr query;
  bool bNegated = false;

  // Literal: the token it was written as (String, UnicodeString, Integer,
  // Decimal, Float, Binary, Money), or Word for NULL (sValue "null").
  Token::Kind literalKind = Token::Kind::End;
  // Whether binding read the literal's value, not only its type (an order
  // by position, a type named in a string): another value binds otherwise.
  bool bValueBound = false;

  // Case: the when/then pairs in order, and the else branch (null when absent).
  std::vector<std::pair<ExprPtr, ExprPtr>> whens;
  ExprPtr elseExpr;
  bool bSimpleCase = false;  // args[0] is the operand

  // Function: count(*), count(distinct x), and an over (...) clause.
  bool bStarArgument = false;
  bool bDistinct = false;
  bool bOver = false;
  std::vector<ExprPtr> partitionBy;
  std::vector<OrderItem> overOrderBy;

  // Cast: the type converted to, as written; bTargetLengthGiven is false for a
  // bare varchar, which cast and convert read as varchar(30).
  SqlType targetType;
  bool bTargetLengthGiven = true;

  // Filled by the binder.
  SqlType type;
  int iBinding = -1;
};

/// One entry of a select list.
struct SelectItem {
  ExprPtr expr;
  QString sAlias;           // "as x", "x = expr", "expr 'x'", or empty
  QString sVariable;        // select @v = expr: the variable assigned, else empty
  QString sAssignOperator;  // "=", "+=", "-=", ... with sVariable
  SourceSpan span;
};

struct CommonTable {
  QString sName;
  std::vector<QString> columns;
  QueryPtr query;
  SourceSpan span;
};

/// Something in a from clause: a table or view, a derived table, or a join of two.
struct TableRef {
  enum class Kind { Named, Derived, Join };
  enum class JoinType { Inner, Left, Right, Full, Cross, CrossApply, OuterApply };

  Kind kind = Kind::Named;
  SourceSpan span;
  ObjectName name;  // Named; a table variable is {"@t"}
  QString sAlias;
  std::vector<QString> columnAliases;  // Derived: (select ...) d (a, b)
  QueryPtr query;                      // Derived
  std::vector<QString> hints;          // with (nolock): kept only to be checked
  JoinType joinType = JoinType::Inner;
  TableRefPtr left;  // Join
  TableRefPtr right;
  ExprPtr on;
};

/// One query block: select ... from ... where ... group by ... having.
struct SelectCore {
  SourceSpan span;
  bool bDistinct = false;
  ExprPtr top;
  bool bTopPercent = false;
  bool bTopWithTies = false;
  std::vector<SelectItem> items;
  std::optional<ObjectName> into;
  std::vector<TableRefPtr> from;  // the comma-separated list; joins nest inside
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
  ExprPtr having;
};

/// A query expression: one query block, or two joined by a set operator.
/// Order, offset/fetch and "for xml path" belong to the whole expression, as
/// do the common tables of a with clause.
struct QueryExpr {
  enum class Kind { Core, Union, UnionAll, Except, Intersect };

  Kind kind = Kind::Core;
  SourceSpan span;
  std::unique_ptr<SelectCore> core;  // Core
  QueryPtr left;                     // set operators
  QueryPtr right;
  std::vector<CommonTable> with;
  std::vector<OrderItem> orderBy;
  ExprPtr offset;
  ExprPtr fetch;
  std::optional<QString> forXmlPath;  // the row element's name ('' for none)
  bool bForXmlType = false;           // for xml path(''), type
};

struct ColumnDefinition {
  QString sName;
  SourceSpan span;
  SqlType type;
  std::optional<bool> nullable;  // as declared; absent when neither null nor not null
  ExprPtr defaultValue;
  bool bIdentity = false;
  long long lSeed = 1;
  long long lIncrement = 1;
  bool bPrimaryKey = false;
  bool bUnique = false;
  QString sCollation;
};

/// A table-level primary key or unique constraint.
struct TableConstraint {
  bool bPrimaryKey = true;
  std::vector<QString> columns;
  SourceSpan span;
};

struct VariableDeclaration {
  QString sName;  // "@x"
  SourceSpan span;
  SqlType type;
  bool bTypeLengthGiven = true;  // declare @s varchar is varchar(1)
  ExprPtr initial;
  bool bTable = false;  // declare @t table (...)
  std::vector<ColumnDefinition> columns;
  std::vector<TableConstraint> constraints;
};

/// One "column = expr" (or "@v = expr", or "@v = column = expr") of an update.
struct Assignment {
  ObjectName column;                        // empty for a variable alone
  QString sVariable;                        // "@v", or empty
  QString sOperator = QStringLiteral("=");  // "=", "+=", "-=", ...
  ExprPtr value;                            // null for "= default"
  SourceSpan span;
};

struct ExecArgument {
  QString sParameter;  // "@name" when passed by name, else empty
  ExprPtr value;       // null for "default"
  bool bOutput = false;
  SourceSpan span;
};

/// One statement of a batch.
struct Statement {
  enum class Kind {
    Empty,        // a lone ";"
    Select,       // query
    Insert,       // target [columns] values / query / exec
    Update,       // [top] target set assignments [from] [where]
    Delete,       // [top] target [from] [where]
    Truncate,     // target
    Declare,      // variables
    SetVariable,  // sVariable sOperator value
    SetOption,    // options (lower case), sValue ("on", "off", or a value)
    If,           // condition body [elseBody]
    While,        // condition body
    Break,
    Continue,
    Block,             // begin ... end: body
    TryCatch,          // begin try body end try begin catch catchBody end catch
    Return,            // [value]
    Print,             // value
    Exec,              // procedure args [sReturnVariable], or dynamic sql in value
    CreateTable,       // target columns constraints
    DropTable,         // targets, bIfExists
    BeginTransaction,  // [sName]
    Commit,            // [sName]
    Rollback,          // [sName]
    SaveTransaction,   // sName
    Raiserror,         // args: message, severity, state, ...
    Throw,             // args: number, message, state; none to rethrow
  };

  Kind kind = Kind::Empty;
  SourceSpan span;

  QueryPtr query;                 // Select; Insert from a query
  std::vector<CommonTable> with;  // with ... insert/update/delete

  ObjectName target;                       // Insert, Update, Delete, Truncate, CreateTable
  std::vector<QString> columns;            // Insert column list
  std::vector<std::vector<ExprPtr>> rows;  // Insert values (...), (...); null for default
  bool bDefaultValues = false;
  StatementPtr source;                  // Insert ... exec
  std::vector<Assignment> assignments;  // Update
  std::vector<TableRefPtr> from;        // Update, Delete
  ExprPtr where;
  ExprPtr top;
  bool bTopPercent = false;

  std::vector<VariableDeclaration> variables;  // Declare
  QString sVariable;                           // SetVariable; Exec's "exec @r = proc"
  QString sOperator;                           // SetVariable: "=", "+=", ...
  ExprPtr value;                               // SetVariable, Return, Print, Exec of dynamic sql
  std::vector<QString> options;                // SetOption; Raiserror's with options
  QString sValue;                              // SetOption
  ExprPtr condition;                           // If, While
  StatementPtr body;                           // If, While
  StatementPtr elseBody;                       // If
  std::vector<StatementPtr> statements;        // Block, TryCatch's try part
  std::vector<StatementPtr> catchStatements;   // TryCatch
  ObjectName procedure;                        // Exec
  std::vector<ExecArgument> arguments;         // Exec
  std::vector<ExprPtr> args;                   // Raiserror, Throw
  std::vector<ColumnDefinition> columnDefinitions;  // CreateTable
  std::vector<TableConstraint> constraints;         // CreateTable
  std::vector<ObjectName> targets;                  // DropTable
  bool bIfExists = false;
  QString sName;  // transactions
};

/// A whole batch as the parser read it.
struct Batch {
  std::vector<StatementPtr> statements;
  std::vector<Expr*> literals;  // every literal node of statements, in the order written
};

}  // namespace twk::tsql
