#include "TsqlTranslator.h"

#include <utility>

#include "SqlScanner.h"

namespace twk {

namespace {

// One left-to-right pass over a batch.
class TranslationPass {
 public:
  TranslationPass(const QString& sBatch, const TsqlTranslator::SpidSource& spidSource)
      : sIn_(sBatch), spidSource_(spidSource) {
    result_.sSql.reserve(sBatch.size() + 16);
  }

  Translation Run() {
    while (iPos_ < sIn_.size()) Step();
    return std::move(result_);
  }

 private:
  void Step() {
    const QChar c = sIn_[iPos_];
    const qsizetype iOpaqueEnd = SqlScanner::SkipOpaque(sIn_, iPos_);
    if (iOpaqueEnd > iPos_) {
      const bool bComment = SqlScanner::IsCommentStart(sIn_, iPos_);
      result_.sSql += QStringView(sIn_).mid(iPos_, iOpaqueEnd - iPos_);
      if (!bComment) MarkSignificant(QString(), c);
      iPos_ = iOpaqueEnd;
    } else if (SqlScanner::IsSpace(c)) {
      if (c == u'\n') bNewlineSinceSignificant_ = true;
      result_.sSql += c;
      ++iPos_;
    } else if (c == u'@') {
      Variable();
    } else if (SqlScanner::IsWordChar(c)) {
      Word();
    } else {
      result_.sSql += c;
      MarkSignificant(QString(), c);
      ++iPos_;
    }
  }

  void Variable() {
    qsizetype iEnd = iPos_ + 1;
    if (iEnd < sIn_.size() && sIn_[iEnd] == u'@') ++iEnd;
    iEnd = SqlScanner::WordEnd(sIn_, iEnd);
    const QString sLower = sIn_.mid(iPos_, iEnd - iPos_).toLower();
    if (sLower == u"@@spid") {
      result_.sSql += QString::number(spidSource_());
    } else if (sLower == u"@@identity") {
      result_.sSql += QStringLiteral("last_insert_rowid()");
    } else if (sLower == u"@@rowcount") {
      result_.sSql += QStringLiteral("changes()");
    } else {
      result_.sSql += QStringView(sIn_).mid(iPos_, iEnd - iPos_);
    }
    MarkSignificant(QString(), sIn_[iEnd - 1]);
    iPos_ = iEnd;
  }

  void Word() {
    const qsizetype iEnd = SqlScanner::WordEnd(sIn_, iPos_);
    const QString sWord = sIn_.mid(iPos_, iEnd - iPos_);
    const QString sLower = sWord.toLower();
    if (sLower == u"n" && iEnd < sIn_.size() && sIn_[iEnd] == u'\'') {
      iPos_ = iEnd;  // N'text' is plain 'text' to SQLite
      return;
    }
    qsizetype iOptionEnd = 0;
    if (sLower == u"set" && TsqlTranslator::IsSetOption(sIn_, iPos_, &iOptionEnd)) {
      // Copied whole, so that its closing "on" is not taken for the "on" of
      // a trigger event or foreign key action by the statement after it.
      SeparateStatement(false);
      result_.sSql += QStringView(sIn_).mid(iPos_, iOptionEnd - iPos_);
      MarkSignificant(QString(), sIn_[iOptionEnd - 1]);
      iPos_ = iOptionEnd;
      return;
    }
    if (sLower == u"exec" || sLower == u"execute") SeparateStatement(true);
    result_.sSql += WordReplacement(sWord, sLower, iEnd);
    if (sLower == u"sysobjects") result_.bUsesSysobjects = true;
    MarkSignificant(sLower, sIn_[iEnd - 1]);
    iPos_ = iEnd;
  }

  QString WordReplacement(const QString& sWord, const QString& sLower, qsizetype iEnd) const {
    if (sLower == u"isnull") {
      const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
      if (iNext < sIn_.size() && sIn_[iNext] == u'(') return QStringLiteral("ifnull");
    }
    if (sLower == u"insert" && StartsStatementOnTable(iEnd, {u"into", u"or"})) {
      return sWord + QStringLiteral(" into");
    }
    if (sLower == u"delete" && StartsStatementOnTable(iEnd, {u"from"})) {
      return sWord + QStringLiteral(" from");
    }
    return sWord;
  }

  // Whether the insert or delete just read is a statement naming its table
  // directly, rather than a trigger event ("after delete on") or a foreign
  // key action ("on delete cascade"), or one that already has its keyword.
  bool StartsStatementOnTable(qsizetype iEnd, std::initializer_list<QStringView> already) const {
    for (QStringView sEvent : {u"on", u"of", u"before", u"after"}) {
      if (sPreviousWord_ == sEvent) return false;
    }
    const qsizetype iNext = SqlScanner::SkipSpaceAndComments(sIn_, iEnd);
    if (iNext >= sIn_.size()) return false;
    const QChar c = sIn_[iNext];
    if (c == u'"' || c == u'[' || c == u'`') return true;
    const QString sNext = SqlScanner::LowerWordAt(sIn_, iNext);
    if (sNext.isEmpty()) return false;
    for (QStringView sKeyword : already) {
      if (sNext == sKeyword) return false;
    }
    return true;
  }

  void SeparateStatement(bool bOnlyAtLineStart) {
    if (cLastSignificant_.isNull() || cLastSignificant_ == u';') return;
    if (bOnlyAtLineStart && !bNewlineSinceSignificant_) return;
    result_.sSql += u';';
  }

  void MarkSignificant(const QString& sLowerWord, QChar cLast) {
    sPreviousWord_ = sLowerWord;
    cLastSignificant_ = cLast;
    bNewlineSinceSignificant_ = false;
  }

  const QString& sIn_;
  const TsqlTranslator::SpidSource& spidSource_;
  Translation result_;
  qsizetype iPos_ = 0;
  QString sPreviousWord_;
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
