// SPDX-License-Identifier: MIT
#include "QueryParser.h"

namespace twk::tsql {

namespace {

QueryPtr Combined(QueryExpr::Kind kind, QueryPtr left, QueryPtr right) {
  auto query = std::make_unique<QueryExpr>();
  query->kind = kind;
  query->span = SourceSpan{left->span.iStart, right->span.iEnd, left->span.iLine};
  query->left = std::move(left);
  query->right = std::move(right);
  return query;
}

const SelectCore& FirstRow(const QueryExpr& rows) {
  const QueryExpr* pRow = &rows;
  while (!pRow->core) pRow = pRow->left.get();
  return *pRow->core;
}

bool IsAssignmentOperator(QStringView sText) {
  return sText == u"=" || sText == u"+=" || sText == u"-=" || sText == u"*=" || sText == u"/=" ||
         sText == u"%=" || sText == u"&=" || sText == u"|=" || sText == u"^=";
}

}  // namespace

QueryPtr QueryParser::ParseQuery() {
  const Nesting nesting(*this);
  const size_t iStart = Position();
  QueryPtr query = ParseIntersection();
  for (;;) {
    QueryExpr::Kind kind;
    if (AcceptWord(u"union")) {
      kind = AcceptWord(u"all") ? QueryExpr::Kind::UnionAll : QueryExpr::Kind::Union;
    } else if (AcceptWord(u"except")) {
      kind = QueryExpr::Kind::Except;
    } else {
      break;
    }
    query = Combined(kind, std::move(query), ParseIntersection());
  }
  ParseQueryTail(*query);
  query->span = SpanFrom(iStart);
  return query;
}

QueryPtr QueryParser::ParseIntersection() {
  QueryPtr query = ParseSetOperand();
  while (AcceptWord(u"intersect")) {
    query = Combined(QueryExpr::Kind::Intersect, std::move(query), ParseSetOperand());
  }
  return query;
}

QueryPtr QueryParser::ParseSetOperand() {
  if (AcceptSymbol(u"(")) {
    QueryPtr inner = ParseQuery();
    ExpectSymbol(u")");
    return inner;
  }
  auto query = std::make_unique<QueryExpr>();
  query->core = ParseCore();
  query->span = query->core->span;
  return query;
}

std::vector<CommonTable> QueryParser::ParseCommonTables() {
  std::vector<CommonTable> tables;
  do {
    const size_t iStart = Position();
    CommonTable table;
    table.sName = ExpectName();
    if (AcceptSymbol(u"(")) {
      do {
        table.columns.push_back(ExpectName());
      } while (AcceptSymbol(u","));
      ExpectSymbol(u")");
    }
    ExpectWord(u"as");
    ExpectSymbol(u"(");
    table.query = ParseQuery();
    ExpectSymbol(u")");
    table.span = SpanFrom(iStart);
    tables.push_back(std::move(table));
  } while (AcceptSymbol(u","));
  return tables;
}

ExprPtr QueryParser::ParseTop(bool& bPercent, bool* pbWithTies) {
  ExprPtr top;
  if (AcceptSymbol(u"(")) {
    top = ParseExpression();
    ExpectSymbol(u")");
  } else if (Current().kind == Token::Kind::Integer || Current().kind == Token::Kind::Decimal) {
    top = ParseOperand();
  } else {
    Fail();
  }
  bPercent = AcceptWord(u"percent");
  if (pbWithTies != nullptr && IsWord(u"with") && IsWord(u"ties", 1)) {
    Advance();
    Advance();
    *pbWithTies = true;
  }
  return top;
}

std::unique_ptr<SelectCore> QueryParser::ParseCore() {
  const size_t iStart = Position();
  auto core = std::make_unique<SelectCore>();
  ExpectWord(u"select");
  core->bDistinct = AcceptWord(u"distinct");
  if (!core->bDistinct) AcceptWord(u"all");
  if (AcceptWord(u"top")) core->top = ParseTop(core->bTopPercent, &core->bTopWithTies);
  do {
    core->items.push_back(ParseSelectItem());
  } while (AcceptSymbol(u","));
  if (AcceptWord(u"into")) core->into = ExpectObjectName();
  if (AcceptWord(u"from")) core->from = ParseFromList();
  if (AcceptWord(u"where")) core->where = ParseCondition();
  if (AcceptWord(u"group")) {
    ExpectWord(u"by");
    do {
      core->groupBy.push_back(ParseExpression());
    } while (AcceptSymbol(u","));
  }
  if (AcceptWord(u"having")) core->having = ParseCondition();
  core->span = SpanFrom(iStart);
  return core;
}

bool QueryParser::StartsQualifiedStar() const {
  int i = 0;
  while (IsName(i) && IsSymbol(u".", i + 1)) i += 2;
  return i > 0 && IsSymbol(u"*", i);
}

SelectItem QueryParser::ParseSelectItem() {
  const size_t iStart = Position();
  SelectItem item;
  const Token& first = Current();
  const bool bAssigns =
      IsAssignmentOperator(TextOf(Peek(1))) && Peek(1).kind == Token::Kind::Operator;
  if (first.kind == Token::Kind::Variable && bAssigns) {
    item.sVariable = TextOf(Advance());
    item.sAssignOperator = TextOf(Advance());
    item.expr = ParseExpression();
  } else if (IsSymbol(u"*") || StartsQualifiedStar()) {
    ExprPtr star = MakeExpr(Expr::Kind::Star, iStart);
    while (!IsSymbol(u"*")) {
      star->name.parts.push_back(Unquoted(Advance()));
      Advance();  // the dot
    }
    Advance();
    star->span = SpanFrom(iStart);
    item.expr = std::move(star);
  } else if ((IsName() || first.kind == Token::Kind::String) && IsSymbol(u"=", 1)) {
    item.sAlias = Unquoted(Advance());  // KEYWORD = expr
    Advance();
    item.expr = ParseExpression();
  } else {
    item.expr = ParseExpression();
    if (AcceptWord(u"as")) {
      if (!IsName() && Current().kind != Token::Kind::String) Fail();
      item.sAlias = Unquoted(Advance());
    } else if (IsName() || Current().kind == Token::Kind::String) {
      item.sAlias = Unquoted(Advance());
    }
  }
  item.span = SpanFrom(iStart);
  return item;
}

void QueryParser::ParseQueryTail(QueryExpr& query) {
  if (AcceptWord(u"order")) {
    ExpectWord(u"by");
    query.orderBy = ParseOrderList();
  }
  if (AcceptWord(u"offset")) {
    query.offset = ParseExpression();
    if (!AcceptWord(u"rows")) ExpectWord(u"row");
    if (AcceptWord(u"fetch")) {
      if (!AcceptWord(u"next")) ExpectWord(u"first");
      query.fetch = ParseExpression();
      if (!AcceptWord(u"rows")) ExpectWord(u"row");
      ExpectWord(u"only");
    }
  }
  if (IsWord(u"for")) ParseForXml(query);
  // Left for the statement, where the server allows it; a subquery's then fails as syntax.
  if (IsWord(u"option") && IsSymbol(u"(", 1) && !IsUnboundedRecursion()) {
    Refuse(Refusals::Construct::QueryHints);
  }
  if (IsWord(u"compute")) Refuse(Refusals::Construct::QueryHints);
}

bool QueryParser::IsUnboundedRecursion() const {
  return IsWord(u"option") && IsSymbol(u"(", 1) && IsWord(u"maxrecursion", 2) &&
         Peek(3).kind == Token::Kind::Integer && TextOf(Peek(3)) == u"0" && IsSymbol(u")", 4);
}

bool QueryParser::AcceptUnboundedRecursion() {
  if (!IsUnboundedRecursion()) return false;
  for (int i = 0; i < 5; ++i) Advance();
  return true;
}

void QueryParser::ParseForXml(QueryExpr& query) {
  ExpectWord(u"for");
  if (IsWord(u"json") || IsWord(u"browse")) Refuse(Refusals::Construct::ForJson);
  ExpectWord(u"xml");
  if (!IsWord(u"path")) Refuse(Refusals::Construct::ForXmlOther);
  Advance();
  query.forXmlPath = QStringLiteral("row");
  if (AcceptSymbol(u"(")) {
    if (Current().kind != Token::Kind::String && Current().kind != Token::Kind::UnicodeString) {
      Fail();
    }
    query.forXmlPath = Unquoted(Advance());
    ExpectSymbol(u")");
  }
  while (AcceptSymbol(u",")) {
    if (!AcceptWord(u"type")) Refuse(Refusals::Construct::ForXmlOther);
    query.bForXmlType = true;
  }
}

std::vector<TableRefPtr> QueryParser::ParseFromList() {
  std::vector<TableRefPtr> tables;
  do {
    tables.push_back(ParseJoinChain());
  } while (AcceptSymbol(u","));
  return tables;
}

// a join b on .. left join c on ..: read in a loop, each join taking the
// chain so far as its left side.
TableRefPtr QueryParser::ParseJoinChain() {
  const size_t iStart = Position();
  TableRefPtr table = ParseTablePrimary();
  for (;;) {
    using JoinType = TableRef::JoinType;
    JoinType type = JoinType::Inner;
    bool bOn = true;
    if (IsWord(u"cross") && (IsWord(u"join", 1) || IsWord(u"apply", 1))) {
      type = IsWord(u"join", 1) ? JoinType::Cross : JoinType::CrossApply;
      bOn = false;
      Advance();
    } else if (IsWord(u"outer") && IsWord(u"apply", 1)) {
      type = JoinType::OuterApply;
      bOn = false;
      Advance();
    } else if (IsWord(u"left") || IsWord(u"right") || IsWord(u"full")) {
      const QString sSide = WordLower();
      type = sSide == u"left"    ? JoinType::Left
             : sSide == u"right" ? JoinType::Right
                                 : JoinType::Full;
      Advance();
      AcceptWord(u"outer");
      if (!IsWord(u"join")) Fail();
    } else if (IsWord(u"inner")) {
      Advance();
      if (!IsWord(u"join")) Fail();
    } else if (!IsWord(u"join")) {
      return table;
    }
    Advance();  // join or apply
    auto join = std::make_unique<TableRef>();
    join->kind = TableRef::Kind::Join;
    join->joinType = type;
    join->left = std::move(table);
    join->right = ParseTablePrimary();
    if (bOn) {
      ExpectWord(u"on");
      join->on = ParseCondition();
    }
    join->span = SpanFrom(iStart);
    table = std::move(join);
  }
}

TableRefPtr QueryParser::ParseTablePrimary() {
  const Nesting nesting(*this);
  const size_t iStart = Position();
  auto table = std::make_unique<TableRef>();
  const bool bValues = IsSymbol(u"(") && IsWord(u"values", 1);
  if (bValues || (IsSymbol(u"(") && StartsQuery(1))) {
    Advance();
    table->kind = TableRef::Kind::Derived;
    table->query = bValues ? ParseValuesRows() : ParseQuery();
    ExpectSymbol(u")");
    ParseTableAlias(*table, true);
    if (AcceptSymbol(u"(")) {
      do {
        table->columnAliases.push_back(ExpectName());
      } while (AcceptSymbol(u","));
      ExpectSymbol(u")");
    }
  } else if (AcceptSymbol(u"(")) {
    TableRefPtr inner = ParseJoinChain();
    ExpectSymbol(u")");
    return inner;
  } else if (Current().kind == Token::Kind::Variable) {
    table->name.parts.push_back(TextOf(Advance()));
    table->name.span = SpanFrom(iStart);
    ParseTableAlias(*table, false);
  } else {
    const QString sWord = WordLower();
    if (sWord == u"openquery" || sWord == u"openrowset" || sWord == u"opendatasource" ||
        sWord == u"openxml") {
      Refuse(Refusals::Construct::RemoteRowset);
    }
    if (sWord == u"containstable" || sWord == u"freetexttable") {
      Refuse(Refusals::Construct::FullText);
    }
    table->name = ExpectObjectName();
    if (IsSymbol(u"(") && !IsWord(u"nolock", 1)) Refuse(Refusals::Construct::TableFunction);
    ParseTableAlias(*table, false);
  }
  if (IsWord(u"pivot") || IsWord(u"unpivot")) Refuse(Refusals::Construct::PivotUnpivot);
  if (IsWord(u"tablesample")) Refuse(Refusals::Construct::TableSample);
  table->span = SpanFrom(iStart);
  return table;
}

// (values (1, 'a'), (2, 'b')) v (n, s) holds what select 1, 'a' union all
// select 2, 'b' gives: the rows in order, each column of the type that the
// rows' types give by precedence. It is read as that union, so that no later
// step needs a construct of its own for it.
QueryPtr QueryParser::ParseValuesRows() {
  ExpectWord(u"values");
  QueryPtr rows;
  do {
    const size_t iStart = Position();
    auto row = std::make_unique<QueryExpr>();
    row->core = std::make_unique<SelectCore>();
    ExpectSymbol(u"(");
    do {
      SelectItem item;
      item.expr = ParseExpression();
      item.span = item.expr->span;
      row->core->items.push_back(std::move(item));
    } while (AcceptSymbol(u","));
    ExpectSymbol(u")");
    row->span = row->core->span = SpanFrom(iStart);
    if (rows && row->core->items.size() != FirstRow(*rows).items.size()) {
      Raise(10709, QStringLiteral("The number of columns for each row in a table value "
                                  "constructor must be the same."));
    }
    rows = rows ? Combined(QueryExpr::Kind::UnionAll, std::move(rows), std::move(row))
                : std::move(row);
  } while (AcceptSymbol(u","));
  return rows;
}

void QueryParser::ParseTableAlias(TableRef& table, bool bRequired) {
  if (AcceptWord(u"as")) {
    table.sAlias = ExpectName();
  } else if (IsName()) {
    table.sAlias = ExpectName();
  } else if (bRequired) {
    Fail();
  }
  if ((IsWord(u"with") && IsSymbol(u"(", 1)) || (IsSymbol(u"(") && IsWord(u"nolock", 1))) {
    ParseTableHints(table);
  }
}

// with (nolock, index(ix)): the words are kept for the binder to check.
void QueryParser::ParseTableHints(TableRef& table) {
  AcceptWord(u"with");
  ExpectSymbol(u"(");
  int iDepth = 1;
  while (iDepth > 0) {
    if (AtEnd()) Fail();
    if (IsSymbol(u"(")) ++iDepth;
    if (IsSymbol(u")")) --iDepth;
    if (iDepth > 0 && Current().kind == Token::Kind::Word) table.hints.push_back(WordLower());
    Advance();
  }
}

}  // namespace twk::tsql
