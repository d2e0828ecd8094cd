// SPDX-License-Identifier: MIT
#include "BatchExecutor.h"

#include <algorithm>
#include <utility>

#include "SqlScanner.h"
#include "SqliteHandles.h"
#include "SqliteStatementRows.h"
#include "TwkError.h"

namespace twk {

namespace {

[[noreturn]] void Fail(const QString& sDescription) {
  throw TwkError(sDescription, QStringLiteral("SQLite"), SQLITE_ERROR);
}

[[noreturn]] void SyntaxError(const QString& sText, qsizetype iPos) {
  const QString sNear = iPos < sText.size() ? sText.mid(iPos, 20).section(u'\n', 0, 0).trimmed()
                                            : QStringLiteral("end of batch");
  Fail(QStringLiteral("Incorrect syntax near '%1'.").arg(sNear));
}

// Drops the sysobjects view when the batch the caller sent is over, however it ends.
class ViewScope {
 public:
  ViewScope(SysobjectsView& view, bool bOwner) noexcept : view_(view), bOwner_(bOwner) {}
  ~ViewScope() {
    if (bOwner_) view_.Drop();
  }
  ViewScope(const ViewScope&) = delete;
  ViewScope& operator=(const ViewScope&) = delete;

 private:
  SysobjectsView& view_;
  bool bOwner_;
};

bool ChangesRows(const QString& sLeadingWord) {
  for (QStringView sKeyword : {u"insert", u"update", u"delete", u"replace", u"with"}) {
    if (sLeadingWord == sKeyword) return true;
  }
  return false;
}

// Errors the server finds when it compiles a batch, before anything runs.
// A missing table is not one of them: it fails when its statement runs.
bool IsCompileError(const char* sMessage) {
  const QByteArray message(sMessage);
  for (const char* sKind :
       {"syntax error", "incomplete input", "unrecognized token", "no such column",
        "no such function", "wrong number of arguments", "near \"", "unknown database"}) {
    if (message.contains(sKind)) return true;
  }
  return false;
}

// SQLite takes a block comment without its end as running to the end of
// the text; the server refuses the batch.
void RequireClosedComment(const QString& sText, qsizetype iPos, qsizetype iOpaqueEnd) {
  if (iOpaqueEnd == sText.size() && sText[iPos] == u'/' &&
      !sText.endsWith(QLatin1StringView("*/"))) {
    Fail(QStringLiteral("Missing end comment mark '*/'."));
  }
}

// The end of the statement at iPos: the first ';' outside literals,
// comments and parentheses, or the end of the text.
qsizetype StatementEnd(const QString& sText, qsizetype iPos) {
  int iDepth = 0;
  while (iPos < sText.size()) {
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sText, iPos);
    if (iOpaque > iPos) {
      RequireClosedComment(sText, iPos, iOpaque);
      iPos = iOpaque;
      continue;
    }
    const QChar c = sText[iPos];
    if (c == u'(') ++iDepth;
    if (c == u')' && iDepth > 0) --iDepth;
    if (c == u';' && iDepth == 0) return iPos;
    ++iPos;
  }
  return iPos;
}

// The first position at or after iPos at the outer level of parentheses
// that holds one of the stop characters or starts one of the stop words.
qsizetype OuterStop(const QString& sText, qsizetype iPos, qsizetype iEnd, QStringView sStopChars,
                    std::initializer_list<QStringView> stopWords) {
  int iDepth = 0;
  while (iPos < iEnd) {
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sText, iPos);
    if (iOpaque > iPos) {
      iPos = iOpaque;
      continue;
    }
    const QChar c = sText[iPos];
    if (c == u'(') ++iDepth;
    if (c == u')' && iDepth > 0) --iDepth;
    if (iDepth == 0 && sStopChars.contains(c)) return iPos;
    if (iDepth == 0 && SqlScanner::IsWordStart(c) &&
        (iPos == 0 || !SqlScanner::IsWordChar(sText[iPos - 1]))) {
      const QString sWord = SqlScanner::LowerWordAt(sText, iPos);
      for (QStringView sStop : stopWords) {
        if (sWord == sStop) return iPos;
      }
      iPos += sWord.size();
      continue;
    }
    ++iPos;
  }
  return iEnd;
}

// Statements whose text is worth keeping prepared between batches; others
// (definitions of tables, views and triggers) may not take parameters.
// Gives a statement back to the cache however its run ends, unless a
// result still being read has taken it over.
class GiveBackOnExit {
 public:
  GiveBackOnExit(SqliteStatementCache& cache, const QString& sShape,
                 StatementHandle& statement) noexcept
      : cache_(cache), sShape_(sShape), statement_(statement) {}
  ~GiveBackOnExit() { cache_.Give(sShape_, std::move(statement_)); }
  GiveBackOnExit(const GiveBackOnExit&) = delete;
  GiveBackOnExit& operator=(const GiveBackOnExit&) = delete;

 private:
  SqliteStatementCache& cache_;
  const QString& sShape_;
  StatementHandle& statement_;
};

// Whether a statement that changed the schema made, changed or dropped only
// a temporary table (#name becomes twk_temp."#name"; SQLite's own temp tables).
bool IsTemporaryDefinition(sqlite3_stmt* pStatement) {
  const QString sSql = QString::fromUtf8(sqlite3_sql(pStatement));
  const qsizetype iVerb = SqlScanner::SkipSpaceAndComments(sSql, 0);
  const QString sVerb = SqlScanner::LowerWordAt(sSql, iVerb);
  if (sVerb != u"create" && sVerb != u"drop" && sVerb != u"alter") return false;
  qsizetype iPos = SqlScanner::SkipSpaceAndComments(sSql, iVerb + sVerb.size());
  QString sWord = SqlScanner::LowerWordAt(sSql, iPos);
  if (sWord == u"temp" || sWord == u"temporary") return true;
  if (sWord != u"table") return false;
  iPos = SqlScanner::SkipSpaceAndComments(sSql, iPos + sWord.size());
  for (QStringView sSkipped : {u"if", u"not", u"exists"}) {
    if (SqlScanner::LowerWordAt(sSql, iPos) != sSkipped) continue;
    iPos = SqlScanner::SkipSpaceAndComments(sSql, iPos + sSkipped.size());
  }
  return QStringView(sSql).mid(iPos).startsWith(u"twk_temp.\"#", Qt::CaseInsensitive);
}

// Rows of a first result read before the statements after it run; a
// larger result is read as the caller walks it, and they run after it.
constexpr std::size_t iReadAhead = 1000;

bool IsShaped(const QString& sLeadingWord) {
  return sLeadingWord == u"select" || ChangesRows(sLeadingWord);
}

}  // namespace

// One statement of a batch, read before any runs.
struct BatchExecutor::Node {
  enum class Kind { Sql, Exec, Option, Declare, Assign, If, Block, Print, Return };
  Kind kind = Kind::Sql;
  qsizetype iStart = 0;  // the statement's text, without its ';'
  qsizetype iEnd = 0;
  // Sql: prepared when the batch was checked, unless it names a table that
  // an earlier statement makes; sSql when its text was rewritten.
  StatementHandle prepared;
  QString sSql;
  // The statement's shape when it is kept between batches, and the values
  // of the literals that became its parameters.
  QString sShape;
  QStringList literals;
  QString sLeadingWord;
  QStringList targets;  // select @a = x, @b = y: the variables
  // If: the statement run when the condition holds, and the one after else.
  int iThen = -1;
  int iElse = -1;
  std::vector<int> children;  // Block
  QString sOption;            // Option
  bool bOn = false;
};

// The state of one batch while it runs.
struct BatchExecutor::Pass {
  Translation translation;
  ParameterBindings variables;
  std::map<QString, QString> types;  // declared variables, in lower case
  std::vector<Node> nodes;
  std::vector<int> top;
  int iDepth;
  BatchResult result;
  bool bReturned = false;
  // The first result's rows, still being read, and the position in top
  // where the batch goes on once they are.
  SqliteStatementRows* pStreaming = nullptr;
  std::size_t iResume = 0;
};

// What is left of a batch whose first result is still being read.
struct BatchExecutor::Rest : Remainder {
  Rest(BatchExecutor* pOwner, std::unique_ptr<Pass> left, bool bAutocommit)
      : pExecutor(pOwner), pass(std::move(left)), bStartedInAutocommit(bAutocommit) {}
  void Run() noexcept override {
    BatchExecutor* pOwner = std::exchange(pExecutor, nullptr);
    if (pOwner) pOwner->RunRest(*pass, bStartedInAutocommit);
    pass.reset();
  }
  void Drop() noexcept {
    pExecutor = nullptr;
    pass.reset();
  }
  BatchExecutor* pExecutor;  // null once run, or when the connection closed first
  std::unique_ptr<Pass> pass;
  bool bStartedInAutocommit;
  SqliteStatementRows* pRows = nullptr;  // alive as long as this is: it owns it
};

// Reads a translated batch into nodes, checking its syntax on the way.
class BatchExecutor::Parser {
 public:
  Parser(BatchExecutor& executor, Pass& pass)
      : executor_(executor), pDb_(executor.pDb_), pass_(pass), sText_(pass.translation.sSql) {}

  void Run() {
    qsizetype iPos = 0;
    pass_.top = List(iPos, false);
  }

 private:
  std::vector<int> List(qsizetype& iPos, bool bBlock) {
    std::vector<int> nodes;
    for (;;) {
      iPos = SkipSeparators(iPos);
      if (iPos >= sText_.size()) {
        if (bBlock) SyntaxError(sText_, iPos);  // begin without end
        return nodes;
      }
      if (SqlScanner::LowerWordAt(sText_, iPos) == u"end") {
        if (!bBlock) SyntaxError(sText_, iPos);
        iPos += 3;
        return nodes;
      }
      nodes.push_back(Statement(iPos));
    }
  }

  qsizetype SkipSeparators(qsizetype iPos) const {
    for (;;) {
      while (iPos < sText_.size() && SqlScanner::IsSpace(sText_[iPos])) ++iPos;
      if (SqlScanner::IsCommentStart(sText_, iPos)) {
        const qsizetype iEnd = SqlScanner::SkipOpaque(sText_, iPos);
        RequireClosedComment(sText_, iPos, iEnd);
        iPos = iEnd;
        continue;
      }
      if (iPos < sText_.size() && sText_[iPos] == u';') {
        ++iPos;
        continue;
      }
      return iPos;
    }
  }

  int Add(Node node) {
    pass_.nodes.push_back(std::move(node));
    return int(pass_.nodes.size() - 1);
  }

  int Statement(qsizetype& iPos) {
    // Every if and begin is a level of recursion here and again when the
    // batch runs: nested deeper than anyone writes, the batch fails as the
    // server fails it instead of overflowing the stack.
    if (iNesting_ >= iMaximumNesting) {
      Fail(QStringLiteral("Some part of your SQL statement is nested too deeply. Rewrite the "
                          "query or break it up into smaller queries."));
    }
    ++iNesting_;
    const int iNode = NestedStatement(iPos);
    --iNesting_;
    return iNode;
  }

  int NestedStatement(qsizetype& iPos) {
    const QString sWord = SqlScanner::LowerWordAt(sText_, iPos);
    Node node;
    node.iStart = iPos;
    node.sLeadingWord = sWord;
    if (sWord == u"if") return If(iPos);
    if (sWord == u"else") SyntaxError(sText_, iPos);
    if (sWord == u"begin" && IsBlock(iPos)) {
      iPos += 5;
      node.kind = Node::Kind::Block;
      node.children = List(iPos, true);
      node.iEnd = iPos;
      return Add(std::move(node));
    }
    node.iEnd = StatementEnd(sText_, iPos);
    if (sWord == u"create" && IsTrigger(iPos)) node.iEnd = sText_.size();
    qsizetype iOptionEnd = 0;
    if (sWord == u"exec" || sWord == u"execute") {
      node.kind = Node::Kind::Exec;
      const ProcedureCall call = ProcedureCall::Parse(sText_, iPos, nullptr);
      if (SqlScanner::SkipSpaceAndComments(sText_, call.iEnd) < node.iEnd) {
        SyntaxError(sText_, SqlScanner::SkipSpaceAndComments(sText_, call.iEnd));
      }
    } else if (sWord == u"set" &&
               TsqlTranslator::IsSetOption(sText_, iPos, &iOptionEnd, &node.sOption, &node.bOn)) {
      node.kind = Node::Kind::Option;
      if (SqlScanner::SkipSpaceAndComments(sText_, iOptionEnd) < node.iEnd) {
        SyntaxError(sText_, iOptionEnd);
      }
    } else if (sWord == u"declare") {
      node.kind = Node::Kind::Declare;
    } else if (sWord == u"set" && NextIsVariable(iPos + 3)) {
      node.kind = Node::Kind::Assign;
    } else if (sWord == u"print") {
      node.kind = Node::Kind::Print;
    } else if (sWord == u"return") {
      node.kind = Node::Kind::Return;
    } else {
      if (sWord == u"select") AssignmentSelect(node);
      Prepare(node);
    }
    iPos = node.iEnd;
    return Add(std::move(node));
  }

  int If(qsizetype& iPos) {
    Node node;
    node.kind = Node::Kind::If;
    node.iStart = iPos + 2;
    node.iEnd = StatementEnd(sText_, iPos);
    if (SqlScanner::SkipSpaceAndComments(sText_, node.iStart) >= node.iEnd) {
      SyntaxError(sText_, iPos);
    }
    iPos = SkipSeparators(node.iEnd);
    const QString sNext = SqlScanner::LowerWordAt(sText_, iPos);
    if (iPos >= sText_.size() || sNext == u"else" || sNext == u"end") SyntaxError(sText_, iPos);
    node.iThen = Statement(iPos);
    const qsizetype iAfter = SkipSeparators(iPos);
    if (SqlScanner::LowerWordAt(sText_, iAfter) == u"else") {
      iPos = SkipSeparators(iAfter + 4);
      const QString sBody = SqlScanner::LowerWordAt(sText_, iPos);
      if (iPos >= sText_.size() || sBody == u"else" || sBody == u"end") SyntaxError(sText_, iPos);
      node.iElse = Statement(iPos);
    }
    return Add(std::move(node));
  }

  bool IsBlock(qsizetype iPos) const {
    const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sText_, iPos + 5);
    const QString sNext = SqlScanner::LowerWordAt(sText_, iNext);
    return sNext != u"immediate" && sNext != u"deferred" && sNext != u"exclusive" &&
           sNext != u"transaction";
  }

  bool IsTrigger(qsizetype iPos) const {
    qsizetype i = SqlScanner::SkipSpaceAndComments(sText_, iPos + 6);
    QString sWord = SqlScanner::LowerWordAt(sText_, i);
    if (sWord == u"temp" || sWord == u"temporary") {
      i = SqlScanner::SkipSpaceAndComments(sText_, i + sWord.size());
      sWord = SqlScanner::LowerWordAt(sText_, i);
    }
    return sWord == u"trigger";
  }

  bool NextIsVariable(qsizetype iPos) const {
    const qsizetype i = SqlScanner::SkipSpaceAndComments(sText_, iPos);
    return i < sText_.size() && sText_[i] == u'@';
  }

  // "select @a = x, @b = y from ..." assigns instead of returning rows: it
  // runs as "select x, y from ..." and the node remembers @a and @b.
  void AssignmentSelect(Node& node) {
    qsizetype iItem = SqlScanner::SkipSpaceAndComments(sText_, node.iStart + 6);
    if (!IsAssignmentAt(iItem)) return;
    std::vector<std::pair<qsizetype, qsizetype>> values;
    qsizetype iRest = node.iEnd;
    for (;;) {
      if (!IsAssignmentAt(iItem)) SyntaxError(sText_, iItem);
      const qsizetype iNameEnd = SqlScanner::WordEnd(sText_, iItem + 1);
      node.targets.append(sText_.mid(iItem, iNameEnd - iItem));
      const qsizetype iValue = SqlScanner::SkipSpaceAndComments(sText_, iNameEnd) + 1;
      const qsizetype iItemEnd =
          OuterStop(sText_, iValue, node.iEnd, u",",
                    {u"from", u"where", u"group", u"order", u"having", u"limit", u"union"});
      values.emplace_back(iValue, iItemEnd);
      if (iItemEnd < node.iEnd && sText_[iItemEnd] == u',') {
        iItem = SqlScanner::SkipSpaceAndComments(sText_, iItemEnd + 1);
        continue;
      }
      iRest = iItemEnd;
      break;
    }
    bool bAccumulates = false;
    QStringList items;
    for (const auto& [iValue, iValueEnd] : values) {
      items.append(LiveTargets(node.targets, iValue, iValueEnd, bAccumulates));
    }
    QString sRest = sText_.mid(iRest, node.iEnd - iRest);
    if (bAccumulates) OrderRowsAsTheyAreRead(iRest, node.iEnd, items, sRest);
    node.sSql = QStringLiteral("select ") + items.join(u',') + u' ' + sRest;
  }

  // The server assigns row by row, so "@s = @s + NAME" sees what the row
  // before left: a target read in a value is read as it stands at that row.
  QString LiveTargets(const QStringList& targets, qsizetype iPos, qsizetype iEnd,
                      bool& bAccumulates) const {
    QString sOut;
    qsizetype iCopied = iPos;
    while (iPos < iEnd) {
      const qsizetype iOpaque = SqlScanner::SkipOpaque(sText_, iPos);
      if (iOpaque > iPos) {
        iPos = iOpaque;
        continue;
      }
      const bool bVariable =
          sText_[iPos] == u'@' && iPos + 1 < iEnd && sText_[iPos + 1] != u'@' &&
          (iPos == 0 || (sText_[iPos - 1] != u'@' && !SqlScanner::IsWordChar(sText_[iPos - 1])));
      if (!bVariable) {
        ++iPos;
        continue;
      }
      const qsizetype iNameEnd = SqlScanner::WordEnd(sText_, iPos + 1);
      const QString sName = sText_.mid(iPos, iNameEnd - iPos);
      if (targets.contains(sName, Qt::CaseInsensitive)) {
        sOut += QStringView(sText_).mid(iCopied, iPos - iCopied);
        sOut += QStringLiteral("twk_variable('%1')").arg(sName);
        iCopied = iNameEnd;
        bAccumulates = true;
      }
      iPos = iNameEnd;
    }
    sOut += QStringView(sText_).mid(iCopied, iEnd - iCopied);
    return sOut;
  }

  // SQLite works out a select's values before it sorts the rows, so values
  // that build on the row before would be built in the table's order. A
  // window ordered as the select is makes them come in that order, one row
  // at each step; the rows need no other sorting then.
  void OrderRowsAsTheyAreRead(qsizetype iRest, qsizetype iEnd, QStringList& items,
                              QString& sRest) const {
    const qsizetype iOrder = OuterStop(sText_, iRest, iEnd, u"", {u"order"});
    if (iOrder >= iEnd) return;
    const qsizetype iBy = SqlScanner::SkipSpaceAndComments(sText_, iOrder + 5);
    if (SqlScanner::LowerWordAt(sText_, iBy) != u"by") return;
    const qsizetype iTerms = iBy + 2;
    const qsizetype iTermsEnd = OuterStop(sText_, iTerms, iEnd, u"", {u"limit"});
    items.append(QStringLiteral("row_number() over (order by %1)")
                     .arg(sText_.mid(iTerms, iTermsEnd - iTerms)));
    sRest = sText_.mid(iRest, iOrder - iRest) + u' ' + sText_.mid(iTermsEnd, iEnd - iTermsEnd);
  }

  bool IsAssignmentAt(qsizetype iPos) const {
    if (iPos >= sText_.size() || sText_[iPos] != u'@') return false;
    if (iPos + 1 < sText_.size() && sText_[iPos + 1] == u'@') return false;
    const qsizetype iEquals =
        SqlScanner::SkipSpaceAndComments(sText_, SqlScanner::WordEnd(sText_, iPos + 1));
    return iEquals + 1 < sText_.size() && sText_[iEquals] == u'=' && sText_[iEquals + 1] != u'=';
  }

  void Prepare(Node& node) {
    qsizetype iTail = 0;
    const int iResult = executor_.PrepareNode(node, sText_, &iTail);
    if (iResult != SQLITE_OK) {
      if (IsCompileError(sqlite3_errmsg(pDb_))) CheckSqlite(pDb_, iResult);
      return;  // tried again when it runs, after the statements before it
    }
    const QString& sSource = node.sSql.isEmpty() ? sText_ : node.sSql;
    const qsizetype iStart = node.sSql.isEmpty() ? node.iStart : 0;
    const qsizetype iEnd = node.sSql.isEmpty() ? node.iEnd : node.sSql.size();
    if (!node.prepared || SqlScanner::SkipSpaceAndComments(sSource, iTail) < iEnd) {
      // Nothing SQLite would run, or more than one statement in one.
      SyntaxError(sSource, node.prepared ? iTail : iStart);
    }
    if (node.iEnd == sText_.size() && node.sSql.isEmpty()) node.iEnd = iTail;  // a trigger
  }

  static constexpr int iMaximumNesting = 1000;
  BatchExecutor& executor_;
  sqlite3* pDb_;
  Pass& pass_;
  const QString& sText_;
  int iNesting_ = 0;
};

BatchExecutor::BatchExecutor(sqlite3* pDb, TsqlTranslator::SpidSource spidSource)
    : pDb_(pDb),
      translator_(std::move(spidSource)),
      statements_(std::make_shared<SqliteStatementCache>(pDb)),
      sysobjects_(pDb),
      procedures_(pDb, *this) {
  sqlite3_update_hook(pDb_, &BatchExecutor::OnUpdate, this);
  CheckSqlite(pDb_, sqlite3_create_function_v2(pDb_, "twk_identity", 0, SQLITE_UTF8, this,
                                               &BatchExecutor::IdentityFunction, nullptr, nullptr,
                                               nullptr));
  CheckSqlite(pDb_, sqlite3_create_function_v2(pDb_, "twk_variable", 1, SQLITE_UTF8, this,
                                               &BatchExecutor::VariableFunction, nullptr, nullptr,
                                               nullptr));
}

BatchExecutor::~BatchExecutor() {
  // A result still being read outlives the connection; the rest of its
  // batch is dropped with it, as a server drops it when a session ends.
  if (const std::shared_ptr<Rest> rest = pending_.lock()) rest->Drop();
  sqlite3_update_hook(pDb_, nullptr, nullptr);
}

BatchResult BatchExecutor::Run(const QString& sBatch, const ParameterBindings& bindings,
                               int iDepth) {
  // SQLite reads a NUL as the end of the text and would hand back the
  // position it started from, so the batch would never move on.
  if (sBatch.contains(QChar(u'\0'))) {
    Fail(QStringLiteral("Incorrect syntax: the batch contains a NUL character."));
  }
  if (iDepth == 0) FinishPending();
  ViewScope viewScope(sysobjects_, iDepth == 0);
  const bool bStartedInAutocommit = sqlite3_get_autocommit(pDb_) != 0;
  auto left =
      std::make_unique<Pass>(Pass{translator_.Translate(sBatch), bindings, {}, {}, {}, iDepth, {}});
  Pass& pass = *left;
  if (pass.translation.bUsesSysobjects) sysobjects_.Prepare();
  try {
    Parser(*this, pass).Run();
    RunList(pass, pass.top, true);
  } catch (...) {
    KeepUnused(pass);
    throw;
  }
  // The moved-from first result stays engaged, so the statements of a
  // rest still know that the batch has its first result.
  BatchResult result = std::move(pass.result);
  if (pass.iResume > 0) {
    SqliteStatementRows* pRows = pass.pStreaming;
    auto rest = std::make_shared<Rest>(this, std::move(left), bStartedInAutocommit);
    rest->pRows = pRows;
    pRows->SetRemainder(rest);
    pending_ = rest;
    return result;
  }
  KeepUnused(pass);
  return result;
}

void BatchExecutor::FinishPending() noexcept {
  if (const std::shared_ptr<Rest> rest = pending_.lock()) {
    if (rest->pExecutor) rest->pRows->Drain();
  }
  pending_.reset();
}

// The statements after a first result that has been read: an error among
// them ends the batch and keeps that result, as in RunList.
void BatchExecutor::RunRest(Pass& pass, bool bStartedInAutocommit) noexcept {
  pass.pStreaming = nullptr;
  try {
    const std::vector<int> rest(pass.top.begin() + std::ptrdiff_t(pass.iResume), pass.top.end());
    pass.iResume = 0;
    RunList(pass, rest, true);
  } catch (...) {
    pass.result.bStopped = true;
  }
  KeepUnused(pass);
  if (pass.result.bStopped) RollBackLeftover(pDb_, bStartedInAutocommit);
}

// The statements of a batch that did not run this time (an if's other
// branch, those after a return or an error) stay prepared for the next.
void BatchExecutor::KeepUnused(Pass& pass) noexcept {
  for (Node& node : pass.nodes) {
    if (node.prepared) statements_->Give(node.sShape, std::move(node.prepared));
  }
}

// Prepares a node's statement: one kept from an earlier batch of the same
// shape, else its shape afresh, else its text as it is written. SQLite's
// result comes back (its message with it); *pTail receives where the
// statement ended in the node's text.
int BatchExecutor::PrepareNode(Node& node, const QString& sText, qsizetype* pTail) {
  const QString& sSource = node.sSql.isEmpty() ? sText : node.sSql;
  const qsizetype iStart = node.sSql.isEmpty() ? node.iStart : 0;
  const qsizetype iEnd = node.sSql.isEmpty() ? node.iEnd : node.sSql.size();
  node.sShape.clear();
  bool bShapeRefused = false;
  if (IsShaped(node.sLeadingWord) &&
      SqliteStatementCache::Shape(sSource, iStart, iEnd, node.sShape, node.literals) &&
      !statements_->NeedsLiterals(node.sShape)) {
    node.prepared = statements_->Take(node.sShape);
    int iResult = SQLITE_OK;
    if (!node.prepared) node.prepared = statements_->Prepare(node.sShape, iResult);
    if (node.prepared) {
      if (pTail) *pTail = iEnd;
      return SQLITE_OK;
    }
    bShapeRefused = iResult != SQLITE_OK && IsCompileError(sqlite3_errmsg(pDb_));
  }
  const QString sShape = std::exchange(node.sShape, QString());
  node.literals.clear();
  sqlite3_stmt* pRaw = nullptr;
  const void* pTailRaw = nullptr;
  const auto* pStart = reinterpret_cast<const char16_t*>(sSource.utf16()) + iStart;
  const int iResult =
      sqlite3_prepare16_v2(pDb_, pStart, int((iEnd - iStart) * 2), &pRaw, &pTailRaw);
  node.prepared.reset(pRaw);
  // A literal where SQLite takes no parameter (a name written as 'text'):
  // the shape is not tried again.
  if (bShapeRefused && iResult == SQLITE_OK) statements_->RememberNeedsLiterals(sShape);
  if (pTail) {
    *pTail = pTailRaw ? iStart + (static_cast<const char16_t*>(pTailRaw) - pStart) : iEnd;
  }
  return iResult;
}

void BatchExecutor::RunList(Pass& pass, const std::vector<int>& nodes, bool bOuter) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (pass.result.bStopped || pass.bReturned) return;
    Node& node = pass.nodes[std::size_t(nodes[i])];
    if (!bOuter) {
      RunNode(pass, node, false, false);
      continue;
    }
    try {
      RunNode(pass, node, true, i + 1 == nodes.size());
    } catch (const TwkError&) {
      // A client sees only the first result; once it exists, the error
      // ends the batch instead of replacing the result.
      if (!pass.result.first) throw;
      pass.result.bStopped = true;
    }
    if (pass.pStreaming && i + 1 < nodes.size()) {
      pass.iResume =
          std::size_t(std::find(pass.top.begin(), pass.top.end(), nodes[i]) - pass.top.begin()) + 1;
      return;
    }
  }
}

void BatchExecutor::RunNode(Pass& pass, Node& node, bool bOuter, bool bLast) {
  switch (node.kind) {
    case Node::Kind::Sql:
      RunSql(pass, node, bOuter, bLast);
      break;
    case Node::Kind::Exec:
      RunExec(pass, node);
      break;
    case Node::Kind::Option:
      // Other session options of the server (ansi_nulls, quoted_identifier...)
      // have no meaning here and are accepted as they are in server scripts.
      if (node.sOption == u"nocount") bNoCount_ = node.bOn;
      break;
    case Node::Kind::Declare:
      RunDeclare(pass, node);
      break;
    case Node::Kind::Assign:
      RunAssign(pass, node);
      break;
    case Node::Kind::If:
      if (Condition(pass, node)) {
        RunNode(pass, pass.nodes[std::size_t(node.iThen)], false, false);
      } else if (node.iElse >= 0) {
        RunNode(pass, pass.nodes[std::size_t(node.iElse)], false, false);
      }
      break;
    case Node::Kind::Block:
      RunList(pass, node.children, false);
      break;
    case Node::Kind::Print:
      break;  // a message, not a result
    case Node::Kind::Return:
      pass.bReturned = true;
      break;
  }
}

void BatchExecutor::RunSql(Pass& pass, Node& node, bool bOuter, bool bLast) {
  if (!node.prepared) {
    CheckSqlite(pDb_, PrepareNode(node, pass.translation.sSql, nullptr));
    if (!node.prepared) return;
  }
  StatementHandle statement = std::move(node.prepared);
  sqlite3_stmt* pStatement = statement.get();
  const GiveBackOnExit giveBack(*statements_, node.sShape, statement);
  BindParameters(pStatement, pass.variables, node.literals);
  inserts_.clear();
  if (!node.targets.isEmpty()) {
    // Every row assigns, and twk_variable reads what the row before left.
    struct LiveScope {
      ParameterBindings*& pLive;
      ~LiveScope() { pLive = nullptr; }
    } liveScope{pLiveVariables_};
    pLiveVariables_ = &pass.variables;
    while (CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW) {
      for (int i = 0; i < node.targets.size(); ++i) {
        QVariant* pValue = FindBinding(pass.variables, node.targets[i]);
        if (!pValue)
          Fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(node.targets[i]));
        *pValue = ColumnValue(pStatement, i);
      }
    }
    return;
  }
  // A statement kept from an earlier batch is prepared again inside its
  // first step when the schema changed since, so its columns are known
  // only after that step.
  const int iFirst = CheckSqlite(pDb_, sqlite3_step(pStatement));
  const int iColumns = sqlite3_column_count(pStatement);
  if (iColumns > 0) {
    if (pass.result.first) {
      if (iFirst == SQLITE_ROW) StepToEnd(pStatement);
      return;
    }
    QStringList columnNames;
    for (int i = 0; i < iColumns; ++i) columnNames.append(ColumnName(pStatement, i));
    std::vector<Recordset::Row> rows;
    auto readRow = [&] {
      Recordset::Row row;
      row.reserve(std::size_t(iColumns));
      for (int i = 0; i < iColumns; ++i) row.push_back(ColumnValue(pStatement, i));
      rows.push_back(std::move(row));
    };
    bool bMore = iFirst == SQLITE_ROW;
    if (bMore) readRow();
    // A result the batch itself returns is read as the caller walks it;
    // one of a procedure, or one that the sysobjects view behind it must
    // outlive, is read whole. When statements follow, a server runs them
    // at once behind a result that fits its network buffer, and only as
    // the client reads on behind a larger one: so does this, with a row
    // count for the buffer.
    const bool bStream = bOuter && pass.iDepth == 0 && !pass.translation.bUsesSysobjects;
    if (bStream && !bLast) {
      while (bMore && rows.size() < iReadAhead) {
        bMore = CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW;
        if (bMore) readRow();
      }
    }
    if (bStream && bMore) {
      auto streaming = std::make_shared<SqliteStatementRows>(pDb_, std::move(statement),
                                                             statements_, node.sShape);
      pass.pStreaming = streaming.get();
      Offer(pass, Recordset(std::move(columnNames), std::move(rows), std::move(streaming)));
      return;
    }
    if (bMore) {
      while (CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW) readRow();
    }
    Offer(pass, Recordset(std::move(columnNames), std::move(rows)));
    return;
  }
  if (iFirst == SQLITE_ROW) StepToEnd(pStatement);
  NoteIdentity();
  const bool bReadOnly = sqlite3_stmt_readonly(pStatement) != 0;
  // Kept statements were checked against the tables as they were; after a
  // definition of this connection's own changed them, none is trusted. A
  // #table is the exception: the server too resolves its columns only when
  // a statement on it runs, and SQLite prepares the kept ones again then.
  if (!bReadOnly && !IsShaped(node.sLeadingWord) && !IsTemporaryDefinition(pStatement)) {
    statements_->Clear();
  }
  const bool bCountsRows = !bReadOnly && ChangesRows(node.sLeadingWord);
  if (bCountsRows && !bNoCount_) Offer(pass, Recordset::Closed(long(sqlite3_changes64(pDb_))));
}

void BatchExecutor::RunExec(Pass& pass, const Node& node) {
  const ProcedureCall call =
      ProcedureCall::Parse(pass.translation.sSql, node.iStart, &pass.variables);
  BatchResult procedureResult = procedures_.Run(call, pass.iDepth + 1);
  if (procedureResult.first) Offer(pass, std::move(*procedureResult.first));
  pass.result.bStopped = procedureResult.bStopped;
}

// declare @a int [= expr], @b varchar(20) [= expr]
void BatchExecutor::RunDeclare(Pass& pass, const Node& node) {
  const QString& sText = pass.translation.sSql;
  qsizetype iPos = SqlScanner::SkipSpaceAndComments(sText, node.iStart + 7);
  for (;;) {
    if (iPos >= node.iEnd || sText[iPos] != u'@') SyntaxError(sText, iPos);
    const qsizetype iNameEnd = SqlScanner::WordEnd(sText, iPos + 1);
    const QString sName = sText.mid(iPos, iNameEnd - iPos);
    if (FindBinding(pass.variables, sName)) {
      Fail(QStringLiteral("The variable name '%1' has already been declared. Variable names must "
                          "be unique within a query batch or stored procedure.")
               .arg(sName));
    }
    const qsizetype iTypeStart = SqlScanner::SkipSpaceAndComments(sText, iNameEnd);
    qsizetype iTypeEnd = OuterStop(sText, iTypeStart, node.iEnd, u",=", {});
    QString sType = sText.mid(iTypeStart, iTypeEnd - iTypeStart).trimmed();
    if (sType.startsWith(QLatin1StringView("as "), Qt::CaseInsensitive))
      sType = sType.mid(3).trimmed();
    if (sType.isEmpty()) SyntaxError(sText, iTypeStart);
    if (sType.startsWith(QLatin1StringView("table"), Qt::CaseInsensitive)) {
      Fail(
          QStringLiteral("Table variables are not available in the embedded database; use a "
                         "#temporary table."));
    }
    pass.types[sName.toLower()] = sType;
    QVariant value;
    iPos = iTypeEnd;
    if (iPos < node.iEnd && sText[iPos] == u'=') {
      const qsizetype iValueEnd = OuterStop(sText, iPos + 1, node.iEnd, u",", {});
      value = Evaluate(pass, QStringLiteral("twk_cast((%1), '%2')")
                                 .arg(sText.mid(iPos + 1, iValueEnd - iPos - 1),
                                      QString(sType).replace(u'\'', QStringLiteral("''"))));
      iPos = iValueEnd;
    }
    pass.variables.emplace_back(sName, value);
    if (iPos < node.iEnd && sText[iPos] == u',') {
      iPos = SqlScanner::SkipSpaceAndComments(sText, iPos + 1);
      continue;
    }
    if (SqlScanner::SkipSpaceAndComments(sText, iPos) < node.iEnd) SyntaxError(sText, iPos);
    return;
  }
}

// set @v = expr
void BatchExecutor::RunAssign(Pass& pass, const Node& node) {
  const QString& sText = pass.translation.sSql;
  const qsizetype iName = SqlScanner::SkipSpaceAndComments(sText, node.iStart + 3);
  const qsizetype iNameEnd = SqlScanner::WordEnd(sText, iName + 1);
  const QString sName = sText.mid(iName, iNameEnd - iName);
  const qsizetype iEquals = SqlScanner::SkipSpaceAndComments(sText, iNameEnd);
  if (iEquals >= node.iEnd || sText[iEquals] != u'=') SyntaxError(sText, iEquals);
  QVariant* pValue = FindBinding(pass.variables, sName);
  if (!pValue) Fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(sName));
  const QString sExpression = sText.mid(iEquals + 1, node.iEnd - iEquals - 1);
  const auto type = pass.types.find(sName.toLower());
  if (type == pass.types.end()) {
    *pValue = Evaluate(pass, sExpression);
  } else {
    *pValue = Evaluate(
        pass, QStringLiteral("twk_cast((%1), '%2')")
                  .arg(sExpression, QString(type->second).replace(u'\'', QStringLiteral("''"))));
  }
}

bool BatchExecutor::Condition(Pass& pass, const Node& node) {
  const QString sCondition = pass.translation.sSql.mid(node.iStart, node.iEnd - node.iStart);
  return Evaluate(pass, QStringLiteral("case when (%1) then 1 else 0 end").arg(sCondition))
             .toLongLong() == 1;
}

QVariant BatchExecutor::Evaluate(Pass& pass, const QString& sExpression) {
  const QString sSql = QStringLiteral("select ") + sExpression;
  // The declare, set and if of a definition are worked out by statements
  // of their own, kept by shape like the batch's.
  QString sShape;
  QStringList literals;
  StatementHandle statement;
  if (SqliteStatementCache::Shape(sSql, 0, sSql.size(), sShape, literals) &&
      !statements_->NeedsLiterals(sShape)) {
    statement = statements_->Take(sShape);
    int iIgnored = SQLITE_OK;
    if (!statement) statement = statements_->Prepare(sShape, iIgnored, false);
  }
  if (!statement) {
    sShape.clear();
    literals.clear();
    sqlite3_stmt* pRaw = nullptr;
    const int iResult =
        sqlite3_prepare16_v2(pDb_, sSql.utf16(), int(sSql.size() * 2), &pRaw, nullptr);
    statement.reset(pRaw);
    CheckSqlite(pDb_, iResult);
    if (!statement) SyntaxError(sSql, 7);
  }
  const GiveBackOnExit giveBack(*statements_, sShape, statement);
  BindParameters(statement.get(), pass.variables, literals);
  QVariant value;
  if (CheckSqlite(pDb_, sqlite3_step(statement.get())) == SQLITE_ROW) {
    value = ColumnValue(statement.get(), 0);
  }
  StepToEnd(statement.get());
  return value;
}

void BatchExecutor::BindParameters(sqlite3_stmt* pStatement, const ParameterBindings& bindings,
                                   const QStringList& literals) const {
  const int iCount = sqlite3_bind_parameter_count(pStatement);
  for (int i = 1; i <= iCount; ++i) {
    const char* sRawName = sqlite3_bind_parameter_name(pStatement, i);
    int iLiteral = 0;
    if (SqliteStatementCache::IsLiteralParameter(sRawName, iLiteral) &&
        iLiteral < literals.size()) {
      BindValue(pDb_, pStatement, i, literals.at(iLiteral));
      continue;
    }
    const QString sName = sRawName ? QString::fromUtf8(sRawName) : QStringLiteral("?");
    const QVariant* pValue = FindBinding(bindings, sName);
    if (!pValue) Fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(sName));
    BindValue(pDb_, pStatement, i, *pValue);
  }
}

void BatchExecutor::StepToEnd(sqlite3_stmt* pStatement) const {
  while (CheckSqlite(pDb_, sqlite3_step(pStatement)) == SQLITE_ROW) {
  }
}

void BatchExecutor::NoteIdentity() {
  for (auto insert = inserts_.rbegin(); insert != inserts_.rend(); ++insert) {
    // The schema the insert has just been checked against answers this from
    // memory; a query of sqlite_sequence would cost two more transactions
    // on the file for every insert of every definition.
    int iAutoincrement = 0;
    const int iResult =
        sqlite3_table_column_metadata(pDb_, "main", insert->first.constData(), "rowid", nullptr,
                                      nullptr, nullptr, nullptr, &iAutoincrement);
    if (iResult == SQLITE_OK && iAutoincrement) {
      identity_ = insert->second;
      break;
    }
  }
  inserts_.clear();
}

void BatchExecutor::Offer(Pass& pass, Recordset result) {
  if (!pass.result.first) pass.result.first = std::move(result);
}

void BatchExecutor::OnUpdate(void* pExecutor, int iOperation, const char* sDatabase,
                             const char* sTable, long long lRowId) {
  if (iOperation != SQLITE_INSERT || qstrcmp(sDatabase, "main") != 0) return;
  auto* pSelf = static_cast<BatchExecutor*>(pExecutor);
  if (pSelf->inserts_.size() > 64) pSelf->inserts_.erase(pSelf->inserts_.begin());
  pSelf->inserts_.emplace_back(QByteArray(sTable), qint64(lRowId));
}

void BatchExecutor::IdentityFunction(sqlite3_context* pContext, int, sqlite3_value**) {
  const auto* pSelf = static_cast<const BatchExecutor*>(sqlite3_user_data(pContext));
  if (pSelf->identity_) {
    sqlite3_result_int64(pContext, *pSelf->identity_);
  } else {
    sqlite3_result_null(pContext);
  }
}

void BatchExecutor::VariableFunction(sqlite3_context* pContext, int, sqlite3_value** ppArguments) {
  const auto* pSelf = static_cast<const BatchExecutor*>(sqlite3_user_data(pContext));
  const QString sName = ArgumentText(ppArguments[0]);
  const QVariant* pValue =
      pSelf->pLiveVariables_ ? FindBinding(*pSelf->pLiveVariables_, sName) : nullptr;
  if (!pValue) {
    const QByteArray message =
        QStringLiteral("Must declare the scalar variable \"%1\".").arg(sName).toUtf8();
    sqlite3_result_error(pContext, message.constData(), int(message.size()));
    return;
  }
  ResultValue(pContext, *pValue);
}

}  // namespace twk
