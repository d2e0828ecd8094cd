#include "TsqlTranslator.h"

#include <utility>

#include "SqlScanner.h"

namespace twk {

namespace {

bool Is(QStringView sWord, QStringView sKeyword) {
  return sWord.compare(sKeyword, Qt::CaseInsensitive) == 0;
}

// One left-to-right pass over a batch. Text is copied only up to a change,
// so a batch that needs no change comes back as the same shared string.
class TranslationPass {
 public:
  TranslationPass(const QString& sBatch, const TsqlTranslator::SpidSource& spidSource)
      : sIn_(sBatch), in_(sBatch), spidSource_(spidSource) {}

  Translation Run() {
    while (iPos_ < in_.size()) Step();
    if (!bChanged_) {
      result_.sSql = sIn_;
    } else {
      result_.sSql += in_.mid(iCopied_);
    }
    return std::move(result_);
  }

 private:
  void Step() {
    const QChar c = in_[iPos_];
    const qsizetype iOpaqueEnd = SqlScanner::SkipOpaque(sIn_, iPos_);
    if (iOpaqueEnd > iPos_) {
      if (!SqlScanner::IsCommentStart(sIn_, iPos_)) MarkSignificant({}, c);
      iPos_ = iOpaqueEnd;
    } else if (SqlScanner::IsSpace(c)) {
      if (c == u'\n') bNewlineSinceSignificant_ = true;
      ++iPos_;
    } else if (c == u'@') {
      Variable();
    } else if (SqlScanner::IsWordChar(c)) {
      Word();
    } else {
      MarkSignificant({}, c);
      ++iPos_;
    }
  }

  // Puts sReplacement in place of the input from iPos_ to iEnd.
  void Replace(qsizetype iEnd, QStringView sReplacement) {
    if (!bChanged_) result_.sSql.reserve(in_.size() + 32);
    bChanged_ = true;
    result_.sSql += in_.mid(iCopied_, iPos_ - iCopied_);
    result_.sSql += sReplacement;
    iCopied_ = iEnd;
  }

  void Variable() {
    qsizetype iEnd = iPos_ + 1;
    if (iEnd < in_.size() && in_[iEnd] == u'@') ++iEnd;
    iEnd = SqlScanner::WordEnd(sIn_, iEnd);
    const QStringView sName = in_.mid(iPos_, iEnd - iPos_);
    if (Is(sName, u"@@spid")) {
      Replace(iEnd, QString::number(spidSource_()));
    } else if (Is(sName, u"@@identity")) {
      Replace(iEnd, u"last_insert_rowid()");
    } else if (Is(sName, u"@@rowcount")) {
      Replace(iEnd, u"changes()");
    }
    MarkSignificant({}, in_[iEnd - 1]);
    iPos_ = iEnd;
  }

  void Word() {
    const qsizetype iEnd = SqlScanner::WordEnd(sIn_, iPos_);
    const QStringView sWord = in_.mid(iPos_, iEnd - iPos_);
    if (Is(sWord, u"n") && iEnd < in_.size() && in_[iEnd] == u'\'') {
      Replace(iEnd, u"");  // N'text' is plain 'text' to SQLite
      iPos_ = iEnd;
      return;
    }
    qsizetype iOptionEnd = 0;
    if (Is(sWord, u"set") && TsqlTranslator::IsSetOption(sIn_, iPos_, &iOptionEnd)) {
      // Taken whole, so that its closing "on" is not taken for the "on" of
      // a trigger event or foreign key action by the statement after it.
      SeparateStatement(false);
      MarkSignificant({}, in_[iOptionEnd - 1]);
      iPos_ = iOptionEnd;
      return;
    }
    if (Is(sWord, u"exec") || Is(sWord, u"execute")) SeparateStatement(true);
    ReplaceWord(sWord, iEnd);
    if (Is(sWord, u"sysobjects")) result_.bUsesSysobjects = true;
    MarkSignificant(sWord, in_[iEnd - 1]);
    iPos_ = iEnd;
  }

  void ReplaceWord(QStringView sWord, qsizetype iEnd) {
    if (Is(sWord, u"isnull")) {
      const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
      if (iNext < in_.size() && in_[iNext] == u'(') Replace(iEnd, u"ifnull");
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
    if (c == u'"' || c == u'[' || c == u'`') return true;
    if (!SqlScanner::IsWordStart(c)) return false;
    const QStringView sNext = in_.mid(iNext, SqlScanner::WordEnd(sIn_, iNext) - iNext);
    for (QStringView sKeyword : already) {
      if (Is(sNext, sKeyword)) return false;
    }
    return true;
  }

  void SeparateStatement(bool bOnlyAtLineStart) {
    if (cLastSignificant_.isNull() || cLastSignificant_ == u';') return;
    if (bOnlyAtLineStart && !bNewlineSinceSignificant_) return;
    Replace(iPos_, u";");
  }

  void MarkSignificant(QStringView sWord, QChar cLast) {
    sPreviousWord_ = sWord;
    cLastSignificant_ = cLast;
    bNewlineSinceSignificant_ = false;
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
  bool bNewlineSinceSignificant_ = false;
};

}  // namespace

TsqlTranslator::TsqlTranslator(SpidSource spidSource) : spidSource_(std::move(spidSource)) {}

Translation TsqlTranslator::Translate(const QString& sBatch) const {
  return TranslationPass(sBatch, spidSource_).Run();
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
