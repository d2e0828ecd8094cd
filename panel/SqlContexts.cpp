// SPDX-License-Identifier: MIT
#include "SqlContexts.h"

namespace twk {

namespace {

class ContextReader {
 public:
  ContextReader(const QString& sText, SqlDialect dialect)
      : sText_(sText), bTsql_(dialect == SqlDialect::Tsql), contexts_(sText.size()) {}

  std::vector<SqlContext> Read() {
    qsizetype i = 0;
    while (i < sText_.size()) i = ReadFrom(i);
    return std::move(contexts_);
  }

 private:
  QChar At(qsizetype i) const { return i < sText_.size() ? sText_[i] : QChar(); }

  void Mark(qsizetype iFrom, qsizetype iTo, SqlContext context) {
    for (qsizetype i = iFrom; i < iTo && i < sText_.size(); ++i) contexts_[i] = context;
  }

  // Reads the token at i as code or as the opaque run it opens; returns
  // where the next one starts.
  qsizetype ReadFrom(qsizetype i) {
    const QChar c = sText_[i];
    if (c == u'\'') return Quoted(i, u'\'', SqlContext::Literal, true);
    if (c == u'"') return Quoted(i, u'"', SqlContext::QuotedName, true);
    if (c == u'[') return Quoted(i, u']', SqlContext::Bracketed, bTsql_);
    if (c == u'`' && !bTsql_) return Quoted(i, u'`', SqlContext::Backticked, true);
    if (c == u'-' && At(i + 1) == u'-') return LineComment(i);
    if (c == u'/' && At(i + 1) == u'*') return BlockComment(i);
    contexts_[i] = SqlContext::Code;
    return i + 1;
  }

  qsizetype Quoted(qsizetype iOpen, QChar cClose, SqlContext context, bool bDoubledEscapes) {
    qsizetype i = iOpen + 1;
    while (i < sText_.size()) {
      if (sText_[i] == cClose) {
        if (bDoubledEscapes && At(i + 1) == cClose) {
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      ++i;
    }
    Mark(iOpen, i, context);
    return i;
  }

  qsizetype LineComment(qsizetype iOpen) {
    qsizetype i = iOpen + 2;
    while (i < sText_.size() && sText_[i] != u'\n' && !(bTsql_ && sText_[i] == u'\r')) ++i;
    Mark(iOpen, i, SqlContext::Comment);
    return i;
  }

  qsizetype BlockComment(qsizetype iOpen) {
    int iDepth = 1;
    qsizetype i = iOpen + 2;
    while (i < sText_.size() && iDepth > 0) {
      if (sText_[i] == u'*' && At(i + 1) == u'/') {
        --iDepth;
        i += 2;
      } else if (bTsql_ && sText_[i] == u'/' && At(i + 1) == u'*') {
        ++iDepth;
        i += 2;
      } else {
        ++i;
      }
    }
    Mark(iOpen, i, SqlContext::Comment);
    return i;
  }

  const QString& sText_;
  const bool bTsql_;
  std::vector<SqlContext> contexts_;
};

}  // namespace

std::vector<SqlContext> ReadSqlContexts(const QString& sText, SqlDialect dialect) {
  return ContextReader(sText, dialect).Read();
}

}  // namespace twk
