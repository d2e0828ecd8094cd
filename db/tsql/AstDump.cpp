// SPDX-License-Identifier: MIT
#include "AstDump.h"

#include <QStringList>
#include <vector>

#include "StatementDump.h"

namespace twk::tsql {

namespace {

QString Name(const ObjectName& name) {
  return name.parts.empty() ? QString()
                            : QStringList(name.parts.begin(), name.parts.end()).join(u'.');
}

QString List(const QString& sHead, const QStringList& items) {
  return u'(' + (items.isEmpty() ? sHead : sHead + u' ' + items.join(u' ')) + u')';
}

QString Exprs(const std::vector<ExprPtr>& exprs) {
  QStringList items;
  for (const ExprPtr& expr : exprs)
    items << (expr ? AstDump::Of(*expr) : QStringLiteral("default"));
  return items.join(u' ');
}

QString Order(const std::vector<OrderItem>& items) {
  QStringList parts;
  for (const OrderItem& item : items) {
    parts << (item.bDescending ? List(QStringLiteral("desc"), {AstDump::Of(*item.expr)})
                               : AstDump::Of(*item.expr));
  }
  return List(QStringLiteral("order"), parts);
}

QString Literal(const Expr& expr) {
  QString sQuoted = expr.sValue;
  sQuoted.replace(u'\'', QStringLiteral("''"));
  switch (expr.literalKind) {
    case Token::Kind::String:
      return u'\'' + sQuoted + u'\'';
    case Token::Kind::UnicodeString:
      return QStringLiteral("N'") + sQuoted + u'\'';
    default:
      return expr.sValue;
  }
}

QString TypeText(const SqlType& type, bool bLengthGiven) {
  return bLengthGiven ? type.Name() : type.Name().section(u'(', 0, 0);
}

QString Function(const Expr& expr) {
  QStringList items{Name(expr.name)};
  if (expr.bDistinct) items << QStringLiteral("distinct");
  if (expr.bStarArgument) items << QStringLiteral("*");
  for (const ExprPtr& arg : expr.args) items << AstDump::Of(*arg);
  if (expr.bOver) {
    QStringList over;
    if (!expr.partitionBy.empty())
      over << List(QStringLiteral("partition"), {Exprs(expr.partitionBy)});
    if (!expr.overOrderBy.empty()) over << Order(expr.overOrderBy);
    items << List(QStringLiteral("over"), over);
  }
  return List(QStringLiteral("call"), items);
}

QString Case(const Expr& expr) {
  QStringList items;
  if (expr.bSimpleCase) items << AstDump::Of(*expr.args[0]);
  for (const auto& [when, then] : expr.whens) {
    items << List(QStringLiteral("when"), {AstDump::Of(*when), AstDump::Of(*then)});
  }
  if (expr.elseExpr) items << List(QStringLiteral("else"), {AstDump::Of(*expr.elseExpr)});
  return List(QStringLiteral("case"), items);
}

QString Negatable(const Expr& expr, const QString& sHead) {
  QStringList items;
  for (const ExprPtr& arg : expr.args) items << AstDump::Of(*arg);
  if (expr.query) items << AstDump::Of(*expr.query);
  return List(expr.bNegated ? QStringLiteral("not-") + sHead : sHead, items);
}

QString Core(const SelectCore& core) {
  QStringList items;
  if (core.bDistinct) items << QStringLiteral("distinct");
  if (core.top) {
    QStringList top{AstDump::Of(*core.top)};
    if (core.bTopPercent) top << QStringLiteral("percent");
    if (core.bTopWithTies) top << QStringLiteral("ties");
    items << List(QStringLiteral("top"), top);
  }
  QStringList columns;
  for (const SelectItem& item : core.items) {
    if (!item.sVariable.isEmpty()) {
      columns << List(item.sAssignOperator, {item.sVariable, AstDump::Of(*item.expr)});
    } else if (!item.sAlias.isEmpty()) {
      columns << List(QStringLiteral("as"), {AstDump::Of(*item.expr), item.sAlias});
    } else {
      columns << AstDump::Of(*item.expr);
    }
  }
  items << u'(' + columns.join(u' ') + u')';
  if (core.into) items << List(QStringLiteral("into"), {Name(*core.into)});
  if (!core.from.empty()) {
    QStringList tables;
    for (const TableRefPtr& table : core.from) tables << AstDump::Of(*table);
    items << List(QStringLiteral("from"), tables);
  }
  if (core.where) items << List(QStringLiteral("where"), {AstDump::Of(*core.where)});
  if (!core.groupBy.empty()) items << List(QStringLiteral("group"), {Exprs(core.groupBy)});
  if (core.having) items << List(QStringLiteral("having"), {AstDump::Of(*core.having)});
  return List(QStringLiteral("select"), items);
}

QString Kind(QueryExpr::Kind kind) {
  switch (kind) {
    case QueryExpr::Kind::Union:
      return QStringLiteral("union");
    case QueryExpr::Kind::UnionAll:
      return QStringLiteral("union-all");
    case QueryExpr::Kind::Except:
      return QStringLiteral("except");
    case QueryExpr::Kind::Intersect:
      return QStringLiteral("intersect");
    case QueryExpr::Kind::Core:
      break;
  }
  return {};
}

QString JoinName(TableRef::JoinType type) {
  static const char* const names[] = {"join",       "left-join",   "right-join", "full-join",
                                      "cross-join", "cross-apply", "outer-apply"};
  return QString::fromLatin1(names[static_cast<int>(type)]);
}

bool IsChainLink(const Expr& expr) {
  switch (expr.kind) {
    case Expr::Kind::Unary:
    case Expr::Kind::Binary:
    case Expr::Kind::Comparison:
    case Expr::Kind::And:
    case Expr::Kind::Or:
    case Expr::Kind::Not:
      return !expr.args.empty();
    default:
      return false;
  }
}

const Expr* LeftOperand(const Expr& expr) {
  return IsChainLink(expr) ? expr.args.front().get() : nullptr;
}

QString Head(const Expr& expr) {
  switch (expr.kind) {
    case Expr::Kind::And:
      return QStringLiteral("and");
    case Expr::Kind::Or:
      return QStringLiteral("or");
    case Expr::Kind::Not:
      return QStringLiteral("not");
    default:
      return expr.sOperator;
  }
}

QString Rest(const Expr& expr) {
  QString sText;
  for (size_t i = 1; i < expr.args.size(); ++i) sText += u' ' + AstDump::Of(*expr.args[i]);
  return sText;
}

bool HasTail(const QueryExpr& query) {
  return !query.with.empty() || !query.orderBy.empty() || query.offset || query.fetch ||
         query.forXmlPath;
}

QString Head(const QueryExpr& query) {
  return Kind(query.kind);
}

QString Rest(const QueryExpr& query) {
  return u' ' + AstDump::Of(*query.right);
}

const TableRef* LeftTable(const TableRef& table) {
  return table.kind == TableRef::Kind::Join ? table.left.get() : nullptr;
}

QString Head(const TableRef& table) {
  return JoinName(table.joinType);
}

QString Rest(const TableRef& table) {
  QString sText = u' ' + AstDump::Of(*table.right);
  if (table.on) sText += u' ' + AstDump::Of(*table.on);
  return sText;
}

// An operand that is itself an operator of the chain nests as deep as the
// chain is long: a + b + c ..., a and b and c ..., unions and joins are
// left-deep, not not x is a line. The parser reads such chains in a loop, so
// the dump does too: each link's head opens from the top down, the innermost
// node is dumped, and each link's other parts close from the bottom up.
template <typename Node, typename Link>
QString Spine(const Node& top, Link link) {
  std::vector<const Node*> links;
  const Node* pNode = &top;
  for (const Node* pNext = link(*pNode); pNext; pNext = link(*pNode)) {
    links.push_back(pNode);
    pNode = pNext;
  }
  if (links.empty()) return {};
  QString sText;
  for (const Node* pLink : links) sText += u'(' + Head(*pLink) + u' ';
  sText += AstDump::Of(*pNode);
  for (auto it = links.rbegin(); it != links.rend(); ++it) sText += Rest(**it) + u')';
  return sText;
}

}  // namespace

QString AstDump::Of(const Expr& expr) {
  using K = Expr::Kind;
  switch (expr.kind) {
    case K::Literal:
      return Literal(expr);
    case K::Variable:
    case K::SystemVariable:
      return expr.sName;
    case K::Column:
      return Name(expr.name);
    case K::Star:
      return expr.name.parts.empty() ? QStringLiteral("*") : Name(expr.name) + QStringLiteral(".*");
    case K::Unary:
    case K::Binary:
    case K::Comparison:
    case K::And:
    case K::Or:
    case K::Not:
      return Spine(expr, LeftOperand);
    case K::IsNull:
      return Negatable(expr, QStringLiteral("is-null"));
    case K::Between:
      return Negatable(expr, QStringLiteral("between"));
    case K::Like:
      return Negatable(expr, QStringLiteral("like"));
    case K::InList:
    case K::InQuery:
      return Negatable(expr, QStringLiteral("in"));
    case K::Exists:
      return List(QStringLiteral("exists"), {Of(*expr.query)});
    case K::Subquery:
      return List(QStringLiteral("subquery"), {Of(*expr.query)});
    case K::Case:
      return Case(expr);
    case K::Function:
      return Function(expr);
    case K::Cast:
      return List(expr.sName,
                  {TypeText(expr.targetType, expr.bTargetLengthGiven), Exprs(expr.args)});
    case K::Collate:
      return List(QStringLiteral("collate"), {Of(*expr.args[0]), expr.sName});
    case K::XmlValue:
      return List(QStringLiteral("xml-value"), {Exprs(expr.args)});
  }
  return {};
}

QString AstDump::Of(const QueryExpr& query) {
  // A set operand with clauses of its own stands in parentheses: it ends the spine.
  const auto leftLink = [&query](const QueryExpr& node) -> const QueryExpr* {
    const bool bLink = node.kind != QueryExpr::Kind::Core && (&node == &query || !HasTail(node));
    return bLink ? node.left.get() : nullptr;
  };
  const QString sBody =
      query.kind == QueryExpr::Kind::Core ? Core(*query.core) : Spine(query, leftLink);
  QStringList tail;
  for (const CommonTable& table : query.with) {
    QStringList parts{table.sName};
    if (!table.columns.empty())
      parts << u'(' + QStringList(table.columns.begin(), table.columns.end()).join(u' ') + u')';
    parts << Of(*table.query);
    tail << List(QStringLiteral("with"), parts);
  }
  if (!query.orderBy.empty()) tail << Order(query.orderBy);
  if (query.offset) tail << List(QStringLiteral("offset"), {Of(*query.offset)});
  if (query.fetch) tail << List(QStringLiteral("fetch"), {Of(*query.fetch)});
  if (query.forXmlPath) {
    QStringList xml{u'\'' + *query.forXmlPath + u'\''};
    if (query.bForXmlType) xml << QStringLiteral("type");
    tail << List(QStringLiteral("for-xml-path"), xml);
  }
  if (tail.isEmpty()) return sBody;
  return List(QStringLiteral("query"), QStringList{sBody} + tail);
}

QString AstDump::Of(const TableRef& table) {
  switch (table.kind) {
    case TableRef::Kind::Named: {
      QStringList parts;
      if (!table.sAlias.isEmpty()) parts << table.sAlias;
      if (!table.hints.empty())
        parts << List(QStringLiteral("hints"), QStringList(table.hints.begin(), table.hints.end()));
      return parts.isEmpty() ? Name(table.name) : List(Name(table.name), parts);
    }
    case TableRef::Kind::Derived: {
      QStringList parts{Of(*table.query), table.sAlias};
      if (!table.columnAliases.empty())
        parts << List(QStringLiteral("columns"),
                      QStringList(table.columnAliases.begin(), table.columnAliases.end()));
      return List(QStringLiteral("derived"), parts);
    }
    case TableRef::Kind::Join:
      return Spine(table, LeftTable);
  }
  return {};
}

QString AstDump::Of(const Statement& statement) {
  return StatementDump::Of(statement);
}

QString AstDump::Of(const Batch& batch) {
  QStringList lines;
  for (const StatementPtr& statement : batch.statements) lines << Of(*statement);
  return lines.join(u'\n');
}

}  // namespace twk::tsql
