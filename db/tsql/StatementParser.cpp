// SPDX-License-Identifier: MIT
#include "StatementParser.h"

#include <QStringList>

#include "TsqlError.h"

namespace twk::tsql {

namespace {

using Construct = Refusals::Construct;

bool IsAssignmentOperator(QStringView sText) {
  return sText == u"=" || sText == u"+=" || sText == u"-=" || sText == u"*=" || sText == u"/=" ||
         sText == u"%=" || sText == u"&=" || sText == u"|=" || sText == u"^=";
}

}  // namespace

Batch StatementParser::ParseBatch() {
  Batch batch;
  if (StartsBareCall()) batch.statements.push_back(ParseBareCall());
  while (!AtEnd()) batch.statements.push_back(ParseStatement());
  batch.literals = TakeLiterals();
  return batch;
}

// The server reads a batch whose first word is a name and no statement's as
// a call of that procedure without exec: "selec 1" cannot find procedure
// 'selec' rather than failing on its syntax. Only the first statement.
bool StatementParser::StartsBareCall() const {
  static const QStringList kStatementWords =
      QStringLiteral(
          "select with insert update delete truncate create drop declare set if while "
          "begin return exec execute commit rollback save raiserror throw break "
          "continue print")
          .split(u' ');
  if (!IsName() || IsSymbol(u":", 1)) return false;
  const QString sWord = WordLower();
  return !kStatementWords.contains(sWord) && !Refusals::ByFirstWord(sWord);
}

StatementPtr StatementParser::ParseBareCall() {
  const size_t iStart = Position();
  StatementPtr statement = NewStatement(Statement::Kind::Exec);
  ParseCall(*statement);
  statement->span = SpanFrom(iStart);
  AcceptSymbol(u";");
  return statement;
}

// One statement and the ';' that may end it. Statements need no separator:
// each starts with a word that says what it is.
StatementPtr StatementParser::ParseStatement() {
  const Nesting nesting(*this);
  const size_t iStart = Position();
  StatementPtr statement;
  if (AcceptSymbol(u";")) {
    statement = NewStatement(Statement::Kind::Empty);
    statement->span = SpanFrom(iStart);
    return statement;
  }
  if (IsSymbol(u"(")) {
    statement = ParseQueryStatement();
  } else {
    if (IsName() && IsSymbol(u":", 1)) Refuse(Construct::Label);
    const QString sWord = WordLower();
    RefuseByFirstWord(sWord);
    statement = ParseByFirstWord(sWord);
  }
  statement->span = SpanFrom(iStart);
  AcceptSymbol(u";");
  return statement;
}

void StatementParser::RefuseByFirstWord(const QString& sWord) const {
  if (const std::optional<Construct> construct = Refusals::ByFirstWord(sWord)) Refuse(*construct);
}

StatementPtr StatementParser::ParseByFirstWord(const QString& sWord) {
  if (sWord == u"select" || sWord == u"with") return ParseQueryStatement();
  if (sWord == u"insert") return ParseInsert();
  if (sWord == u"update") return ParseUpdate();
  if (sWord == u"delete") return ParseDelete();
  if (sWord == u"truncate") return ParseTruncate();
  if (sWord == u"create") return ParseCreate();
  if (sWord == u"drop") return ParseDrop();
  if (sWord == u"declare") return ParseDeclare();
  if (sWord == u"set") return ParseSet();
  if (sWord == u"if") return ParseIf();
  if (sWord == u"while") return ParseWhile();
  if (sWord == u"begin") return ParseBegin();
  if (sWord == u"return") return ParseReturn();
  if (sWord == u"exec" || sWord == u"execute") return ParseExec();
  if (sWord == u"commit") return ParseTransaction(Statement::Kind::Commit);
  if (sWord == u"rollback") return ParseTransaction(Statement::Kind::Rollback);
  if (sWord == u"save") return ParseTransaction(Statement::Kind::SaveTransaction);
  if (sWord == u"raiserror") return ParseRaiserror();
  if (sWord == u"throw") return ParseThrow();
  if (sWord == u"break" || sWord == u"continue") {
    if (iWhileDepth_ == 0) {
      throw TsqlError(sWord == u"break" ? 135 : 136,
                      QStringLiteral("Cannot use a ") + sWord.toUpper() +
                          QStringLiteral(" statement outside the scope of a WHILE statement."),
                      Current().span.iLine);
    }
    Advance();
    return NewStatement(sWord == u"break" ? Statement::Kind::Break : Statement::Kind::Continue);
  }
  if (sWord == u"print") {
    StatementPtr statement = NewStatement(Statement::Kind::Print);
    Advance();
    statement->value = ParseExpression();
    return statement;
  }
  Fail();
}

// [with common tables] query; the with may also lead an insert, update or delete.
StatementPtr StatementParser::ParseQueryStatement() {
  std::vector<CommonTable> with;
  if (AcceptWord(u"with")) with = ParseCommonTables();
  StatementPtr statement;
  if (!with.empty() && (IsWord(u"insert") || IsWord(u"update") || IsWord(u"delete"))) {
    statement = WordLower() == u"insert"   ? ParseInsert()
                : WordLower() == u"update" ? ParseUpdate()
                                           : ParseDelete();
  } else {
    if (!StartsQuery()) Fail();
    statement = NewStatement(Statement::Kind::Select);
    statement->query = ParseQuery();
    AcceptUnboundedRecursion();
  }
  if (statement->query && !with.empty()) {
    statement->query->with = std::move(with);
  } else {
    statement->with = std::move(with);
  }
  return statement;
}

StatementPtr StatementParser::ParseBegin() {
  if (IsWord(u"try", 1)) return ParseTryCatch();
  if (IsWord(u"distributed", 1)) Refuse(Construct::DistributedTransaction);
  if (IsWord(u"tran", 1) || IsWord(u"transaction", 1)) {
    return ParseTransaction(Statement::Kind::BeginTransaction);
  }
  ExpectWord(u"begin");
  return ParseBlockBody(NewStatement(Statement::Kind::Block));
}

StatementPtr StatementParser::ParseBlockBody(StatementPtr block) {
  while (!IsWord(u"end")) {
    if (AtEnd()) Fail();
    block->statements.push_back(ParseStatement());
  }
  Advance();
  return block;
}

StatementPtr StatementParser::ParseTryCatch() {
  StatementPtr statement = NewStatement(Statement::Kind::TryCatch);
  ExpectWord(u"begin");
  ExpectWord(u"try");
  while (!(IsWord(u"end") && IsWord(u"try", 1))) {
    if (IsWord(u"end")) FailAt(Peek(1));  // end without try: the server names what follows
    if (AtEnd()) Fail();
    statement->statements.push_back(ParseStatement());
  }
  Advance();
  Advance();
  AcceptSymbol(u";");
  ExpectWord(u"begin");
  if (!IsWord(u"catch")) Fail();
  Advance();
  while (!(IsWord(u"end") && IsWord(u"catch", 1))) {
    if (IsWord(u"end")) FailAt(Peek(1));  // end without catch: the server names what follows
    if (AtEnd()) Fail();
    statement->catchStatements.push_back(ParseStatement());
  }
  Advance();
  Advance();
  return statement;
}

StatementPtr StatementParser::ParseIf() {
  StatementPtr statement = NewStatement(Statement::Kind::If);
  ExpectWord(u"if");
  statement->condition = ParseCondition();
  if (AtEnd()) Fail();
  statement->body = ParseStatement();
  if (AcceptWord(u"else")) {
    if (AtEnd()) Fail();
    statement->elseBody = ParseStatement();
  }
  return statement;
}

StatementPtr StatementParser::ParseWhile() {
  StatementPtr statement = NewStatement(Statement::Kind::While);
  ExpectWord(u"while");
  statement->condition = ParseCondition();
  if (AtEnd()) Fail();
  ++iWhileDepth_;
  statement->body = ParseStatement();
  --iWhileDepth_;
  return statement;
}

// Whether a value follows return or an exec's name, rather than the next statement.
bool StatementParser::StartsValue() const {
  const Token::Kind kind = Current().kind;
  if (kind == Token::Kind::End || kind == Token::Kind::Punctuation) return IsSymbol(u"(");
  if (kind == Token::Kind::Operator) return IsSymbol(u"-") || IsSymbol(u"+") || IsSymbol(u"~");
  if (kind != Token::Kind::Word) return true;
  const QString sWord = WordLower();
  return sWord == u"null" || sWord == u"case" || sWord == u"cast" || sWord == u"convert" ||
         sWord == u"default" || (IsName() && sWord != u"throw");
}

StatementPtr StatementParser::ParseReturn() {
  StatementPtr statement = NewStatement(Statement::Kind::Return);
  ExpectWord(u"return");
  if (StartsValue()) statement->value = ParseExpression();
  return statement;
}

StatementPtr StatementParser::ParseSet() {
  if (Peek(1).kind != Token::Kind::Variable) return ParseSetOption();
  StatementPtr statement = NewStatement(Statement::Kind::SetVariable);
  ExpectWord(u"set");
  statement->sVariable = TextOf(Advance());
  if (Current().kind != Token::Kind::Operator || !IsAssignmentOperator(TextOf(Current()))) Fail();
  statement->sOperator = TextOf(Advance());
  if (IsWord(u"cursor")) Refuse(Construct::Cursor);
  statement->value = ParseExpression();
  return statement;
}

// set nocount on; set ansi_nulls, quoted_identifier on; set datefirst 7;
// set rowcount @n; set transaction isolation level read committed;
// set identity_insert #t on. Options and sValue are lower case; a number or
// a variable is also kept in value.
StatementPtr StatementParser::ParseSetOption() {
  StatementPtr statement = NewStatement(Statement::Kind::SetOption);
  ExpectWord(u"set");
  if (AcceptWord(u"transaction")) {
    ExpectWord(u"isolation");
    ExpectWord(u"level");
    statement->options.push_back(QStringLiteral("transaction isolation level"));
    QStringList words;
    while (Current().kind == Token::Kind::Word && words.size() < 2) words << TextOf(Advance());
    if (words.isEmpty()) Fail();
    statement->sValue = words.join(u' ').toLower();
    return statement;
  }
  do {
    if (Current().kind != Token::Kind::Word) Fail();
    QString sOption = TextOf(Advance()).toLower();
    if (sOption == u"statistics" && Current().kind == Token::Kind::Word) {
      sOption += u' ' + TextOf(Advance()).toLower();
    }
    statement->options.push_back(sOption);
  } while (AcceptSymbol(u","));
  if (statement->options.front() == u"identity_insert") statement->target = ExpectObjectName();
  const Token& value = Current();
  if (value.kind == Token::Kind::Integer || value.kind == Token::Kind::Variable || IsSymbol(u"-")) {
    statement->value = ParseExpression();
    statement->sValue = TextOf(value).toLower();
  } else if (value.kind == Token::Kind::Word || value.kind == Token::Kind::String ||
             value.kind == Token::Kind::QuotedName) {
    statement->sValue = Unquoted(Advance()).toLower();
  } else {
    Fail();
  }
  return statement;
}

StatementPtr StatementParser::ParseExec() {
  StatementPtr statement = NewStatement(Statement::Kind::Exec);
  Advance();  // exec or execute
  if (IsWord(u"as")) Refuse(Construct::ExecuteAs);
  if (AcceptSymbol(u"(")) {
    statement->value = ParseExpression();
    ExpectSymbol(u")");
    if (IsWord(u"at") || IsWord(u"as")) Refuse(Construct::ExecuteAs);
    return statement;
  }
  ParseCall(*statement);
  return statement;
}

// [@status =] procedure [arguments], after exec or at the start of a batch.
void StatementParser::ParseCall(Statement& statement) {
  if (Current().kind == Token::Kind::Variable && IsSymbol(u"=", 1)) {
    statement.sVariable = TextOf(Advance());
    Advance();
  }
  statement.procedure = Current().kind == Token::Kind::Variable
                            ? ObjectName{{TextOf(Current())}, Advance().span}
                            : ExpectObjectName();
  if (StartsValue() && !IsSymbol(u"(")) {
    do {
      statement.arguments.push_back(ParseExecArgument());
    } while (AcceptSymbol(u","));
  }
  if (IsWord(u"with") && !IsSymbol(u"(", 1) && !IsName(1)) Fail();
}

// A constant, a variable, a bare word (read as a string, as the server
// reads it), or default; by position or as @name = value; output at the end.
ExecArgument StatementParser::ParseExecArgument() {
  const size_t iStart = Position();
  ExecArgument argument;
  if (Current().kind == Token::Kind::Variable && IsSymbol(u"=", 1)) {
    argument.sParameter = TextOf(Advance());
    Advance();
  }
  if (!AcceptWord(u"default")) {
    const Token& token = Current();
    if (token.kind == Token::Kind::Word && IsName() && !IsWord(u"null")) {
      argument.value = MakeExpr(Expr::Kind::Literal, iStart);
      argument.value->literalKind = Token::Kind::String;
      argument.value->sValue = TextOf(Advance());
    } else {
      const bool bNegative = IsSymbol(u"-");
      if (bNegative || IsSymbol(u"+")) Advance();
      const Token::Kind kind = Current().kind;
      const bool bConstant = kind != Token::Kind::Punctuation && kind != Token::Kind::Operator &&
                             kind != Token::Kind::QuotedName &&
                             (kind != Token::Kind::Word || IsWord(u"null"));
      if (!bConstant) Fail();
      argument.value = ParseOperand();
      if (bNegative) {
        ExprPtr negated = MakeExpr(Expr::Kind::Unary, iStart);
        negated->sOperator = QStringLiteral("-");
        negated->args.push_back(std::move(argument.value));
        argument.value = std::move(negated);
      }
    }
  }
  argument.bOutput = AcceptWord(u"output") || AcceptWord(u"out");
  argument.span = SpanFrom(iStart);
  return argument;
}

StatementPtr StatementParser::ParseTransaction(Statement::Kind kind) {
  StatementPtr statement = NewStatement(kind);
  Advance();  // begin, commit, rollback or save
  const bool bWordGiven = AcceptWord(u"tran") || AcceptWord(u"transaction");
  if (!bWordGiven && kind != Statement::Kind::SaveTransaction) AcceptWord(u"work");
  if (kind == Statement::Kind::BeginTransaction && !bWordGiven) Fail();
  if (kind == Statement::Kind::SaveTransaction && !bWordGiven) Fail();
  if (Current().kind == Token::Kind::Variable || (IsName() && !IsWord(u"throw"))) {
    statement->sName = Current().kind == Token::Kind::Variable ? TextOf(Advance()) : ExpectName();
  } else if (kind == Statement::Kind::SaveTransaction) {
    Fail();
  }
  return statement;
}

StatementPtr StatementParser::ParseRaiserror() {
  StatementPtr statement = NewStatement(Statement::Kind::Raiserror);
  ExpectWord(u"raiserror");
  ExpectSymbol(u"(");
  do {
    statement->args.push_back(ParseExpression());
  } while (AcceptSymbol(u","));
  ExpectSymbol(u")");
  if (AcceptWord(u"with")) {
    do {
      if (!IsWord(u"nowait") && !IsWord(u"log") && !IsWord(u"seterror")) Fail();
      statement->options.push_back(WordLower());
      Advance();
    } while (AcceptSymbol(u","));
  }
  return statement;
}

StatementPtr StatementParser::ParseThrow() {
  StatementPtr statement = NewStatement(Statement::Kind::Throw);
  ExpectWord(u"throw");
  if (!StartsValue() || IsWord(u"default")) return statement;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) ExpectSymbol(u",");
    statement->args.push_back(ParseExpression());
  }
  return statement;
}

}  // namespace twk::tsql
