// SPDX-License-Identifier: MIT
#include "DataParser.h"

namespace twk::tsql {

namespace {

bool IsAssignmentOperator(QStringView sText) {
  return sText == u"=" || sText == u"+=" || sText == u"-=" || sText == u"*=" || sText == u"/=" ||
         sText == u"%=" || sText == u"&=" || sText == u"|=" || sText == u"^=";
}

}  // namespace

StatementPtr DataParser::NewStatement(Statement::Kind kind) const {
  auto statement = std::make_unique<Statement>();
  statement->kind = kind;
  statement->span = Current().span;
  return statement;
}

ObjectName DataParser::ExpectTarget() {
  if (Current().kind != Token::Kind::Variable) return ExpectObjectName();
  ObjectName name;
  name.span = Current().span;
  name.parts.push_back(TextOf(Advance()));
  return name;
}

void DataParser::ParseOptionalTop(Statement& statement) {
  if (!AcceptWord(u"top")) return;
  if (!IsSymbol(u"(")) Fail();  // insert, update and delete take top (n) only
  statement.top = ParseTop(statement.bTopPercent, nullptr);
}

void DataParser::RefuseOutput() const {
  if (IsWord(u"output")) Refuse(Refusals::Construct::Output);
}

StatementPtr DataParser::ParseInsert() {
  StatementPtr statement = NewStatement(Statement::Kind::Insert);
  ExpectWord(u"insert");
  ParseOptionalTop(*statement);
  AcceptWord(u"into");
  statement->target = ExpectTarget();
  if (IsWord(u"with") && IsSymbol(u"(", 1)) Fail();
  if (IsSymbol(u"(") && !StartsQuery()) {
    Advance();
    do {
      statement->columns.push_back(ExpectName());
    } while (AcceptSymbol(u","));
    ExpectSymbol(u")");
  }
  RefuseOutput();
  if (AcceptWord(u"values")) {
    do {
      statement->rows.push_back(ParseValuesRow());
    } while (AcceptSymbol(u","));
  } else if (AcceptWord(u"default")) {
    ExpectWord(u"values");
    statement->bDefaultValues = true;
  } else if (IsWord(u"exec") || IsWord(u"execute")) {
    statement->source = ParseExec();
  } else if (IsWord(u"with")) {
    Advance();
    statement->with = ParseCommonTables();
    statement->query = ParseQuery();
  } else if (StartsQuery()) {
    statement->query = ParseQuery();
  } else {
    Fail();
  }
  return statement;
}

std::vector<ExprPtr> DataParser::ParseValuesRow() {
  std::vector<ExprPtr> row;
  ExpectSymbol(u"(");
  do {
    row.push_back(AcceptWord(u"default") ? nullptr : ParseExpression());
  } while (AcceptSymbol(u","));
  ExpectSymbol(u")");
  return row;
}

StatementPtr DataParser::ParseUpdate() {
  StatementPtr statement = NewStatement(Statement::Kind::Update);
  ExpectWord(u"update");
  ParseOptionalTop(*statement);
  statement->target = ExpectTarget();
  if (IsWord(u"with") && IsSymbol(u"(", 1)) {
    TableRef hints;
    ParseTableHints(hints);
  }
  ExpectWord(u"set");
  do {
    statement->assignments.push_back(ParseAssignment());
  } while (AcceptSymbol(u","));
  ParseFromAndWhere(*statement);
  return statement;
}

// The tail an update and a delete share; "where current of" names a cursor.
void DataParser::ParseFromAndWhere(Statement& statement) {
  RefuseOutput();
  if (AcceptWord(u"from")) statement.from = ParseFromList();
  if (AcceptWord(u"where")) {
    if (IsWord(u"current") && IsWord(u"of", 1)) Refuse(Refusals::Construct::Cursor);
    statement.where = ParseCondition();
  }
}

// col = e, t.col += e, @v = e, @v = col = e.
Assignment DataParser::ParseAssignment() {
  const size_t iStart = Position();
  Assignment assignment;
  if (Current().kind == Token::Kind::Variable) {
    assignment.sVariable = TextOf(Advance());
    if (!IsAssignmentOperator(TextOf(Current()))) Fail();
    assignment.sOperator = TextOf(Advance());
    if (assignment.sOperator == u"=" && IsName() && IsSymbol(u"=", 1)) {
      assignment.column = ExpectObjectName();
      Advance();
    }
  } else {
    assignment.column = ExpectObjectName();
    if (Current().kind != Token::Kind::Operator || !IsAssignmentOperator(TextOf(Current()))) Fail();
    assignment.sOperator = TextOf(Advance());
  }
  if (!AcceptWord(u"default")) assignment.value = ParseExpression();
  assignment.span = SpanFrom(iStart);
  return assignment;
}

StatementPtr DataParser::ParseDelete() {
  StatementPtr statement = NewStatement(Statement::Kind::Delete);
  ExpectWord(u"delete");
  ParseOptionalTop(*statement);
  AcceptWord(u"from");
  statement->target = ExpectTarget();
  if (IsWord(u"with") && IsSymbol(u"(", 1)) {
    TableRef hints;
    ParseTableHints(hints);
  }
  ParseFromAndWhere(*statement);
  return statement;
}

StatementPtr DataParser::ParseTruncate() {
  StatementPtr statement = NewStatement(Statement::Kind::Truncate);
  ExpectWord(u"truncate");
  ExpectWord(u"table");
  statement->target = ExpectObjectName();
  return statement;
}

StatementPtr DataParser::ParseCreate() {
  StatementPtr statement = NewStatement(Statement::Kind::CreateTable);
  ExpectWord(u"create");
  const QString sWhat = WordLower();
  if (sWhat == u"procedure" || sWhat == u"proc" || sWhat == u"function" || sWhat == u"view" ||
      sWhat == u"trigger" || (sWhat == u"or" && IsWord(u"alter", 1))) {
    Refuse(Refusals::Construct::CreateModule);
  }
  if (sWhat != u"table") Refuse(Refusals::Construct::CreateOther);
  Advance();
  statement->target = ExpectObjectName();
  ParseTableElements(statement->columnDefinitions, statement->constraints);
  return statement;
}

void DataParser::ParseTableElements(std::vector<ColumnDefinition>& columns,
                                    std::vector<TableConstraint>& constraints) {
  ExpectSymbol(u"(");
  do {
    const bool bConstraint = IsWord(u"primary") || IsWord(u"unique") || IsWord(u"check") ||
                             IsWord(u"foreign") || IsWord(u"constraint");
    if (bConstraint) {
      constraints.push_back(ParseTableConstraint());
    } else {
      columns.push_back(ParseColumnDefinition());
    }
  } while (AcceptSymbol(u",") && !IsSymbol(u")"));
  ExpectSymbol(u")");
}

ColumnDefinition DataParser::ParseColumnDefinition() {
  const size_t iStart = Position();
  ColumnDefinition column;
  column.sName = ExpectName();
  if (IsWord(u"as")) Refuse(Refusals::Construct::ComputedColumn);
  bool bLengthGiven = true;
  column.type = ExpectType(bLengthGiven);
  while (ParseColumnConstraint(column)) {
  }
  column.span = SpanFrom(iStart);
  return column;
}

// One of: identity [(seed, increment)], [not] null, default e, primary key,
// unique, collate name, each optionally named by constraint x (a check is
// refused).
bool DataParser::ParseColumnConstraint(ColumnDefinition& column) {
  if (AcceptWord(u"constraint")) ExpectName();
  if (AcceptWord(u"identity")) {
    column.bIdentity = true;
    if (AcceptSymbol(u"(")) {
      column.lSeed = ExpectSignedInteger();
      ExpectSymbol(u",");
      column.lIncrement = ExpectSignedInteger();
      ExpectSymbol(u")");
    }
  } else if (AcceptWord(u"not")) {
    ExpectWord(u"null");
    column.nullable = false;
  } else if (AcceptWord(u"null")) {
    column.nullable = true;
  } else if (AcceptWord(u"default")) {
    column.defaultValue = ParseExpression();
  } else if (AcceptWord(u"primary")) {
    ExpectWord(u"key");
    column.bPrimaryKey = true;
    if (!AcceptWord(u"clustered")) AcceptWord(u"nonclustered");
  } else if (AcceptWord(u"unique")) {
    column.bUnique = true;
    if (!AcceptWord(u"clustered")) AcceptWord(u"nonclustered");
  } else if (IsWord(u"check")) {
    // Its condition would need the new table's columns bound.
    Refuse(Refusals::Construct::CheckConstraint);
  } else if (AcceptWord(u"collate")) {
    column.sCollation = ExpectName();
  } else if (IsWord(u"references") || IsWord(u"foreign")) {
    Refuse(Refusals::Construct::ForeignKey);
  } else {
    return false;
  }
  return true;
}

TableConstraint DataParser::ParseTableConstraint() {
  const size_t iStart = Position();
  TableConstraint constraint;
  if (AcceptWord(u"constraint")) ExpectName();
  if (IsWord(u"foreign")) Refuse(Refusals::Construct::ForeignKey);
  if (IsWord(u"check")) Refuse(Refusals::Construct::CheckConstraint);
  if (AcceptWord(u"primary")) {
    ExpectWord(u"key");
  } else {
    ExpectWord(u"unique");
    constraint.bPrimaryKey = false;
  }
  if (!AcceptWord(u"clustered")) AcceptWord(u"nonclustered");
  ExpectSymbol(u"(");
  do {
    constraint.columns.push_back(ExpectName());
    if (!AcceptWord(u"asc")) AcceptWord(u"desc");
  } while (AcceptSymbol(u","));
  ExpectSymbol(u")");
  constraint.span = SpanFrom(iStart);
  return constraint;
}

long long DataParser::ExpectSignedInteger() {
  const bool bNegative = AcceptSymbol(u"-");
  if (!bNegative) AcceptSymbol(u"+");
  if (Current().kind != Token::Kind::Integer) Fail();
  const long long lValue = TextOf(Advance()).toLongLong();
  return bNegative ? -lValue : lValue;
}

StatementPtr DataParser::ParseDrop() {
  StatementPtr statement = NewStatement(Statement::Kind::DropTable);
  ExpectWord(u"drop");
  if (!AcceptWord(u"table")) Refuse(Refusals::Construct::CreateOther);
  if (IsWord(u"if") && IsWord(u"exists", 1)) {
    Advance();
    Advance();
    statement->bIfExists = true;
  }
  do {
    statement->targets.push_back(ExpectObjectName());
  } while (AcceptSymbol(u","));
  return statement;
}

StatementPtr DataParser::ParseDeclare() {
  StatementPtr statement = NewStatement(Statement::Kind::Declare);
  ExpectWord(u"declare");
  if (IsName() && (IsWord(u"cursor", 1) || IsWord(u"insensitive", 1) || IsWord(u"scroll", 1))) {
    Refuse(Refusals::Construct::Cursor);
  }
  do {
    statement->variables.push_back(ParseVariableDeclaration());
  } while (AcceptSymbol(u","));
  return statement;
}

VariableDeclaration DataParser::ParseVariableDeclaration() {
  const size_t iStart = Position();
  VariableDeclaration variable;
  if (Current().kind != Token::Kind::Variable) Fail();
  variable.sName = TextOf(Advance());
  AcceptWord(u"as");
  if (IsWord(u"cursor")) Refuse(Refusals::Construct::Cursor);
  if (AcceptWord(u"table")) {
    variable.bTable = true;
    ParseTableElements(variable.columns, variable.constraints);
  } else {
    variable.type = ExpectType(variable.bTypeLengthGiven);
    if (AcceptSymbol(u"=")) variable.initial = ParseExpression();
  }
  variable.span = SpanFrom(iStart);
  return variable;
}

}  // namespace twk::tsql
