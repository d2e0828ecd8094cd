// SPDX-License-Identifier: MIT
#include "TsqlTranslator.h"

#include <utility>
#include <vector>

#include "SqlScanner.h"
#include "TsqlExpressions.h"

namespace twk {

namespace {

bool Is(QStringView sWord, QStringView sKeyword) {
  return sWord.compare(sKeyword, Qt::CaseInsensitive) == 0;
}

bool IsAny(QStringView sWord, std::initializer_list<QStringView> keywords) {
  for (QStringView sKeyword : keywords) {
    if (Is(sWord, sKeyword)) return true;
  }
  return false;
}

// What is open at one level of parentheses.
struct Level {
  // " limit n" that a "top n" of this level's select leaves for its end.
  QString sPendingLimit;
  // The level is the argument list of cast(...).
  bool bCast = false;
};

// One left-to-right pass over a batch. Text is copied only up to a change,
// so a batch that needs no change comes back as the same shared string.
class TranslationPass {
 public:
  TranslationPass(const QString& sBatch, const TsqlTranslator::SpidSource& spidSource)
      : sIn_(sBatch), in_(sBatch), spidSource_(spidSource) {
    levels_.emplace_back();
  }

  Translation Run() {
    while (iPos_ < in_.size()) Step();
    iPos_ = in_.size();
    for (std::size_t i = levels_.size(); i-- > 0;) FlushLimit(levels_[i]);
    if (!bChanged_) {
      result_.sSql = sIn_;
    } else {
      result_.sSql += in_.mid(iCopied_);
    }
    if (bHasPlus_) result_.sSql = TsqlExpressions::RewritePlus(result_.sSql);
    return std::move(result_);
  }

 private:
  bool AtTop() const noexcept { return levels_.size() == 1; }
  bool AtStatementStart() const noexcept {
    return cLastSignificant_.isNull() || cLastSignificant_ == u';';
  }

  void Step() {
    const QChar c = in_[iPos_];
    const qsizetype iOpaqueEnd = SqlScanner::SkipOpaque(sIn_, iPos_);
    if (iOpaqueEnd > iPos_) {
      if (!SqlScanner::IsCommentStart(sIn_, iPos_)) MarkSignificant({}, in_[iOpaqueEnd - 1]);
      iPos_ = iOpaqueEnd;
    } else if (SqlScanner::IsSpace(c)) {
      ++iPos_;
    } else if (c == u'@') {
      Variable();
    } else if (c == u'#' && iPos_ + 1 < in_.size() && SqlScanner::IsWordChar(in_[iPos_ + 1])) {
      TemporaryTable();
    } else if (SqlScanner::IsWordChar(c)) {
      Word();
    } else {
      Punctuation(c);
    }
  }

  void Punctuation(QChar c) {
    if (c == u'(') {
      levels_.emplace_back();
      levels_.back().bCast = Is(sPreviousWord_, u"cast") && cLastSignificant_ != u')';
    } else if (c == u')') {
      if (levels_.size() > 1) {
        FlushLimit(levels_.back());
        levels_.pop_back();
      }
    } else if (c == u';' && AtTop()) {
      FlushLimit(levels_.back());
      if (!bTrigger_) sLead_ = {};
    } else if (c == u'+') {
      bHasPlus_ = true;
    }
    MarkSignificant({}, c);
    ++iPos_;
  }

  // Puts sReplacement in place of the input from iPos_ to iEnd.
  void Replace(qsizetype iEnd, QStringView sReplacement) {
    if (!bChanged_) result_.sSql.reserve(in_.size() + 32);
    bChanged_ = true;
    result_.sSql += in_.mid(iCopied_, iPos_ - iCopied_);
    result_.sSql += sReplacement;
    iCopied_ = iEnd;
  }

  void FlushLimit(Level& level) {
    if (level.sPendingLimit.isEmpty()) return;
    Replace(iPos_, level.sPendingLimit);
    level.sPendingLimit.clear();
  }

  void Variable() {
    qsizetype iEnd = iPos_ + 1;
    if (iEnd < in_.size() && in_[iEnd] == u'@') ++iEnd;
    iEnd = SqlScanner::WordEnd(sIn_, iEnd);
    const QStringView sName = in_.mid(iPos_, iEnd - iPos_);
    if (Is(sName, u"@@spid")) {
      Replace(iEnd, QString::number(spidSource_()));
    } else if (Is(sName, u"@@identity")) {
      Replace(iEnd, u"twk_identity()");
    } else if (Is(sName, u"@@rowcount")) {
      Replace(iEnd, u"changes()");
    }
    MarkSignificant({}, in_[iEnd - 1]);
    iPos_ = iEnd;
  }

  // #name is a table of this connection only: it lives in a private
  // in-memory database that each connection attaches as twk_temp. Not in
  // SQLite's temp schema: a change there makes SQLite prepare every
  // statement of the connection again, and definitions that make and drop
  // a #table at each record would cost all the others their kept statements.
  void TemporaryTable() {
    const qsizetype iEnd = SqlScanner::WordEnd(sIn_, iPos_ + 1);
    Replace(iEnd, QStringLiteral("twk_temp.\"") + in_.mid(iPos_, iEnd - iPos_).toString() + u'"');
    MarkSignificant({}, u'"');
    iPos_ = iEnd;
  }

  void Word() {
    const qsizetype iEnd = SqlScanner::WordEnd(sIn_, iPos_);
    const QStringView sWord = in_.mid(iPos_, iEnd - iPos_);
    if (Is(sWord, u"n") && iEnd < in_.size() && in_[iEnd] == u'\'') {
      // N'text' is plain 'text' to SQLite; after a literal a space keeps the
      // two apart, or SQLite would read 'a''b' as one.
      Replace(iEnd, cLastSignificant_ == u'\'' ? u" " : u"");
      iPos_ = iEnd;
      return;
    }
    if (Is(sWord, u"case")) ++iCaseDepth_;
    if (AtTop() && !AtStatementStart() && SplitsBefore(sWord)) SeparateStatement();
    if (AtTop() && AtStatementStart()) {
      if (StartStatement(sWord, iEnd)) return;
    } else if (AtTop() && Is(sWord, u"trigger") && Is(sLead_, u"create")) {
      bTrigger_ = true;
    }
    if (Is(sWord, u"end") && iCaseDepth_ > 0) --iCaseDepth_;
    if (Is(sWord, u"top") && IsAny(sPreviousWord_, {u"select", u"distinct", u"all"})) {
      Top(iEnd);
      return;
    }
    if (TranslateFunction(sWord, iEnd)) return;
    ReplaceWord(sWord, iEnd);
    if (Is(sWord, u"sysobjects")) result_.bUsesSysobjects = true;
    MarkSignificant(sWord, in_[iEnd - 1]);
    iPos_ = iEnd;
  }

  // Whether the word, met at the outer level inside a statement, starts the
  // next statement, as the server reads a batch without semicolons.
  bool SplitsBefore(QStringView sWord) {
    if (bTrigger_) return false;
    if (Is(sWord, u"select")) {
      if (IsAny(sPreviousWord_, {u"union", u"all", u"except", u"intersect"})) return false;
      return !ConsumedByLead({u"insert", u"with", u"create"});
    }
    if (IsAny(sWord, {u"insert", u"update", u"delete"})) {
      // trigger events, foreign key actions, "on conflict do update"
      if (IsAny(sPreviousWord_, {u"on", u"of", u"before", u"after", u"do"})) return false;
      if (!ConsumedByLead({u"with"})) return true;
      // After "with ...", the insert leads the statement: its own select
      // (or the update's set) belongs to it.
      sLead_ = sWord;
      bLeadConsumed_ = false;
      return false;
    }
    if (Is(sWord, u"values")) {
      ConsumedByLead({u"insert"});
      return false;
    }
    if (Is(sWord, u"set")) return !Is(sPreviousWord_, u"update") && !ConsumedByLead({u"update"});
    if (Is(sWord, u"if")) return !IsAny(sPreviousWord_, {u"table", u"index", u"view", u"trigger"});
    if (IsAny(sWord, {u"else", u"end"})) return iCaseDepth_ == 0;
    if (IsAny(sWord, {u"drop", u"create"})) return !Is(sLead_, u"alter");
    return IsAny(sWord, {u"exec", u"execute", u"declare", u"begin", u"commit", u"rollback",
                         u"while", u"print", u"return"});
  }

  // Whether the statement's leading word takes this word as its own part
  // (the select of "insert ... select", the update of "with ... update").
  bool ConsumedByLead(std::initializer_list<QStringView> leads) {
    if (bLeadConsumed_ || !IsAny(sLead_, leads)) return false;
    bLeadConsumed_ = true;
    return true;
  }

  void SeparateStatement() {
    FlushLimit(levels_.back());
    Replace(iPos_, u";");
    MarkSignificant({}, u';');
  }

  // Takes the first word of a statement; true when it has consumed it.
  bool StartStatement(QStringView sWord, qsizetype iEnd) {
    sLead_ = sWord;
    bLeadConsumed_ = false;
    if (bTrigger_) {
      if (Is(sWord, u"end") && iCaseDepth_ == 0) bTrigger_ = false;
      return false;
    }
    const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
    const QString sNext = SqlScanner::LowerWordAt(sIn_, iNext);
    if (Is(sWord, u"begin")) {
      if (sNext == u"tran" || sNext == u"transaction") {
        return Consume(iNext + sNext.size(), u"begin immediate transaction");
      }
      if (sNext == u"immediate" || sNext == u"deferred" || sNext == u"exclusive") return false;
      // A begin with nothing after it is a transaction; before a statement
      // it opens a block, which the executor runs.
      if (iNext >= in_.size() || in_[iNext] == u';')
        return Consume(iEnd, u"begin immediate transaction");
      return Consume(iEnd, u"begin;");
    }
    if (IsAny(sWord, {u"commit", u"rollback"}) && (sNext == u"tran" || sNext == u"work")) {
      return Consume(iNext + sNext.size(), sWord.toString() + QStringLiteral(" transaction"));
    }
    if (Is(sWord, u"else") || (Is(sWord, u"end") && iCaseDepth_ == 0)) {
      return Consume(iEnd, sWord.toString() + u';');
    }
    qsizetype iOptionEnd = 0;
    if (Is(sWord, u"set") && TsqlTranslator::IsSetOption(sIn_, iPos_, &iOptionEnd)) {
      // Taken whole, so that its closing "on" is not taken for the "on" of
      // a trigger event or foreign key action by the statement after it.
      MarkSignificant({}, in_[iOptionEnd - 1]);
      iPos_ = iOptionEnd;
      return true;
    }
    return false;
  }

  bool Consume(qsizetype iEnd, QStringView sReplacement) {
    Replace(iEnd, sReplacement);
    MarkSignificant({}, sReplacement.back());
    iPos_ = iEnd;
    return true;
  }

  // "top n" and "top (n)" become a limit at the end of the select.
  void Top(qsizetype iEnd) {
    const qsizetype iCount = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
    qsizetype iCountEnd = iCount;
    if (iCount < in_.size() && in_[iCount] == u'(') {
      iCountEnd = MatchingParenthesis(iCount);
    } else {
      iCountEnd = SqlScanner::WordEnd(sIn_, iCount);
      if (iCountEnd < in_.size() && in_[iCount] == u'@') {
        iCountEnd = SqlScanner::WordEnd(sIn_, iCount + 1);
      }
    }
    if (iCountEnd == iCount) {  // not a count: leave it for SQLite to refuse
      MarkSignificant(u"top", u'p');
      iPos_ = iEnd;
      return;
    }
    levels_.back().sPendingLimit =
        QStringLiteral(" limit ") + in_.mid(iCount, iCountEnd - iCount).toString();
    Replace(iCountEnd, u"");
    MarkSignificant({}, u' ');
    iPos_ = iCountEnd;
  }

  // The end (past the ')') of the parenthesised text opening at iOpen.
  qsizetype MatchingParenthesis(qsizetype iOpen) const {
    const qsizetype iClose = ScanParenthesised(iOpen, false);
    return iClose < in_.size() ? iClose + 1 : iClose;
  }

  // The first ',' at the level of the '(' at iOpen; the closing ')' when
  // there is none.
  qsizetype ArgumentEnd(qsizetype iOpen) const { return ScanParenthesised(iOpen, true); }

  // The closing ')' of the '(' at iOpen (or, when asked, the first ',' at
  // its level), skipping literals and comments; the text's end when open.
  qsizetype ScanParenthesised(qsizetype iOpen, bool bStopAtComma) const {
    int iDepth = 0;
    for (qsizetype i = iOpen; i < in_.size();) {
      const qsizetype iOpaque = SqlScanner::SkipOpaque(sIn_, i);
      if (iOpaque > i) {
        i = iOpaque;
        continue;
      }
      if (in_[i] == u'(') ++iDepth;
      if (in_[i] == u')' && --iDepth == 0) return i;
      if (bStopAtComma && in_[i] == u',' && iDepth == 1) return i;
      ++i;
    }
    return in_.size();
  }

  // Functions whose first argument is a type or a date part, which SQLite
  // would read as a column name: it is passed as text instead.
  bool TranslateFunction(QStringView sWord, qsizetype iEnd) {
    const bool bConvert = Is(sWord, u"convert");
    const bool bDatePart = IsAny(sWord, {u"datediff", u"dateadd", u"datepart", u"datename"});
    if (Is(sWord, u"as") && levels_.back().bCast) return CastType();
    if (!bConvert && !bDatePart) return false;
    const qsizetype iOpen = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
    if (iOpen >= in_.size() || in_[iOpen] != u'(') return false;
    const qsizetype iComma = ArgumentEnd(iOpen);
    if (iComma >= in_.size() || in_[iComma] != u',') return false;
    QString sArgument = in_.mid(iOpen + 1, iComma - iOpen - 1).trimmed().toString();
    sArgument.replace(u'\'', QStringLiteral("''"));
    Replace(iComma + 1, QStringLiteral("%1('%2',").arg(sWord.toString().toLower(), sArgument));
    levels_.emplace_back();
    MarkSignificant({}, u',');
    iPos_ = iComma + 1;
    return true;
  }

  // cast(x as type) becomes twk_cast(x, 'type'), which converts as the
  // server does (dates stay dates, text that is no number fails).
  bool CastType() {
    qsizetype iClose = iPos_;
    int iDepth = 0;
    while (iClose < in_.size() && !(in_[iClose] == u')' && iDepth == 0)) {
      // A ')' inside a literal or comment does not end the type: taken for
      // the end, it would leave the rest of the literal behind as code.
      if (const qsizetype iOpaque = SqlScanner::SkipOpaque(sIn_, iClose); iOpaque > iClose) {
        iClose = iOpaque;
        continue;
      }
      if (in_[iClose] == u'(') ++iDepth;
      if (in_[iClose] == u')') --iDepth;
      ++iClose;
    }
    QString sType = in_.mid(iPos_ + 2, iClose - iPos_ - 2).trimmed().toString();
    sType.replace(u'\'', QStringLiteral("''"));
    Replace(iClose, QStringLiteral(", '%1'").arg(sType));
    levels_.back().bCast = false;
    MarkSignificant({}, u'\'');
    iPos_ = iClose;
    return true;
  }

  void ReplaceWord(QStringView sWord, qsizetype iEnd) {
    if (Is(sWord, u"isnull")) {
      const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
      if (iNext < in_.size() && in_[iNext] == u'(') Replace(iEnd, u"ifnull");
    } else if (Is(sWord, u"cast")) {
      const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
      if (iNext < in_.size() && in_[iNext] == u'(') Replace(iEnd, u"twk_cast");
    } else if (Is(sWord, u"insert") && StartsStatementOnTable(iEnd, {u"into", u"or"})) {
      Replace(iEnd, sWord.toString() + QStringLiteral(" into"));
    } else if (Is(sWord, u"delete") && StartsStatementOnTable(iEnd, {u"from"})) {
      Replace(iEnd, sWord.toString() + QStringLiteral(" from"));
    }
  }

  // Whether the insert or delete just read is a statement naming its table
  // directly, rather than a trigger event ("after delete on") or a foreign
  // key action ("on delete cascade"), or one that already has its keyword.
  bool StartsStatementOnTable(qsizetype iEnd, std::initializer_list<QStringView> already) const {
    for (QStringView sEvent : {u"on", u"of", u"before", u"after"}) {
      if (Is(sPreviousWord_, sEvent)) return false;
    }
    const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
    if (iNext >= in_.size()) return false;
    const QChar c = in_[iNext];
    if (c == u'"' || c == u'[' || c == u'`' || c == u'#') return true;
    if (!SqlScanner::IsWordStart(c)) return false;
    const QStringView sNext = in_.mid(iNext, SqlScanner::WordEnd(sIn_, iNext) - iNext);
    for (QStringView sKeyword : already) {
      if (Is(sNext, sKeyword)) return false;
    }
    return true;
  }

  void MarkSignificant(QStringView sWord, QChar cLast) {
    sPreviousWord_ = sWord;
    cLastSignificant_ = cLast;
  }

  const QString& sIn_;
  QStringView in_;
  const TsqlTranslator::SpidSource& spidSource_;
  Translation result_;
  bool bChanged_ = false;
  qsizetype iPos_ = 0;
  qsizetype iCopied_ = 0;
  QStringView sPreviousWord_;
  QChar cLastSignificant_;
  std::vector<Level> levels_;
  // The first word of the statement being read, and whether a word it
  // takes as its own part has been seen.
  QStringView sLead_;
  bool bLeadConsumed_ = false;
  // Inside "create trigger ... end": its body keeps its own statements.
  bool bTrigger_ = false;
  int iCaseDepth_ = 0;
  bool bHasPlus_ = false;
};

// A character that is not meant for text (a Unicode noncharacter) starts
// each marker; a batch holding it is never masked.
constexpr QChar MarkerStart() {
  return QChar(0xFDD0);
}

QString Marker(std::size_t iLiteral) {
  QString sMarker;
  sMarker.reserve(8);
  sMarker += u'\'';
  sMarker += MarkerStart();
  sMarker += QString::number(iLiteral);
  sMarker += u'\'';
  return sMarker;
}

// The translations of this many batch shapes are kept per connection, of
// batches up to this size; more start the memory afresh.
constexpr qsizetype iRememberedBatches = 512;
constexpr qsizetype iLargestRemembered = 64 * 1024;

}  // namespace

TsqlTranslator::TsqlTranslator(SpidSource spidSource) : spidSource_(std::move(spidSource)) {}

Translation TsqlTranslator::TranslateAfresh(const QString& sBatch) const {
  return TranslationPass(sBatch, spidSource_).Run();
}

Translation TsqlTranslator::Translate(const QString& sBatch) {
  std::vector<SqlScanner::Span> literals;
  const QChar cMark = MarkerStart();
  if (sBatch.size() > iLargestRemembered ||
      !SqlScanner::StringLiterals(sBatch, 0, sBatch.size(), literals) || sBatch.contains(cMark)) {
    return TranslateAfresh(sBatch);
  }
  QString sMasked;
  sMasked.reserve(sBatch.size());
  qsizetype iCopied = 0;
  for (std::size_t i = 0; i < literals.size(); ++i) {
    sMasked += QStringView(sBatch).mid(iCopied, literals[i].iStart - iCopied);
    sMasked += Marker(i);
    iCopied = literals[i].iEnd;
  }
  sMasked += QStringView(sBatch).mid(iCopied);
  auto found = templates_.find(sMasked);
  if (found == templates_.end()) {
    if (templates_.size() >= iRememberedBatches) templates_.clear();
    found = templates_.insert(sMasked, MakeTemplate(sMasked, literals.size()));
  }
  const Template& made = *found;
  if (!made.bUsable) return TranslateAfresh(sBatch);
  Translation result;
  result.bUsesSysobjects = made.translation.bUsesSysobjects;
  const QString& sTemplate = made.translation.sSql;
  result.sSql.reserve(sTemplate.size() + sBatch.size() - sMasked.size());
  qsizetype iFrom = 0;
  for (const Template::Slot& slot : made.places) {
    const SqlScanner::Span& literal = literals[std::size_t(slot.iLiteral)];
    result.sSql += QStringView(sTemplate).mid(iFrom, slot.iStart - iFrom);
    result.sSql += QStringView(sBatch).mid(literal.iStart, literal.iEnd - literal.iStart);
    iFrom = slot.iEnd;
  }
  result.sSql += QStringView(sTemplate).mid(iFrom);
  return result;
}

// Usable only when every marker comes out whole, once, as a literal of its
// own: a rewrite that put one inside another literal (convert's type, for
// one) has looked at it, and such a batch is translated afresh each time.
TsqlTranslator::Template TsqlTranslator::MakeTemplate(const QString& sMasked,
                                                      std::size_t iLiterals) const {
  Template made;
  made.translation = TranslateAfresh(sMasked);
  const QString& sOut = made.translation.sSql;
  std::vector<SqlScanner::Span> spans;
  if (!SqlScanner::StringLiterals(sOut, 0, sOut.size(), spans)) return made;
  std::vector<bool> seen(iLiterals, false);
  for (const SqlScanner::Span& span : spans) {
    const QStringView sLiteral = QStringView(sOut).mid(span.iStart, span.iEnd - span.iStart);
    if (!sLiteral.contains(MarkerStart())) continue;
    bool bNumber = false;
    const int iLiteral = sLiteral.mid(2, sLiteral.size() - 3).toInt(&bNumber);
    if (sLiteral.size() < 4 || sLiteral[1] != MarkerStart() || !bNumber || iLiteral < 0 ||
        std::size_t(iLiteral) >= iLiterals || seen[std::size_t(iLiteral)] ||
        sLiteral != Marker(std::size_t(iLiteral))) {
      return made;
    }
    seen[std::size_t(iLiteral)] = true;
    made.places.push_back({span.iStart, span.iEnd, iLiteral});
  }
  made.bUsable =
      made.places.size() == iLiterals && sOut.count(MarkerStart()) == qsizetype(iLiterals);
  return made;
}

bool TsqlTranslator::IsSetOption(const QString& sText, qsizetype iPos, qsizetype* pEnd,
                                 QString* pOption, bool* pOn) {
  if (SqlScanner::LowerWordAt(sText, iPos) != u"set") return false;
  const qsizetype iOption = SqlScanner::SkipSpaceAndComments(sText, iPos + 3);
  const QString sOption = SqlScanner::LowerWordAt(sText, iOption);
  if (sOption.isEmpty()) return false;
  const qsizetype iValue = SqlScanner::SkipSpaceAndComments(sText, iOption + sOption.size());
  const QString sValue = SqlScanner::LowerWordAt(sText, iValue);
  if (sValue != u"on" && sValue != u"off") return false;
  if (pEnd) *pEnd = iValue + sValue.size();
  if (pOption) *pOption = sOption;
  if (pOn) *pOn = sValue == u"on";
  return true;
}

}  // namespace twk
