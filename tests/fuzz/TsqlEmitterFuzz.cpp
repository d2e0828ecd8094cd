// SPDX-License-Identifier: MIT
// Rewriting T-SQL for the embedded engine: the same text always gives the
// same translation; every string literal of the text comes out unchanged
// (whole, or as the text of a literal the translator made around it); the
// connection's number is asked for only when the text uses @@spid; and a
// text in SQLite's own SQL, without any T-SQL construct, comes out as it
// went in.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include "FuzzInput.h"
#include "SqlScanner.h"
#include "TsqlTranslator.h"

namespace {

using twk::SqlScanner;

// Whether the literal that starts the text has its closing apostrophe.
bool IsClosed(QStringView sLiteral) {
  for (qsizetype i = 1; i < sLiteral.size(); ++i) {
    if (sLiteral[i] != u'\'') continue;
    if (i + 1 < sLiteral.size() && sLiteral[i + 1] == u'\'') {
      ++i;
      continue;
    }
    return true;
  }
  return false;
}

// The string literals of a text, apostrophes included. With bNested, the
// literals that a literal's own text holds count too: the translator passes
// a type name as text, so a literal written inside one lands there. A
// literal left open at the end counts only with bOpen: a batch that ends in
// one fails whatever the translator appends to it.
void CollectLiterals(const QString& sText, bool bNested, bool bOpen, QStringList& literals) {
  for (qsizetype i = 0; i < sText.size();) {
    const qsizetype iEnd = SqlScanner::SkipOpaque(sText, i);
    if (iEnd == i) {
      ++i;
      continue;
    }
    if (sText[i] == u'\'' && (bOpen || IsClosed(QStringView(sText).mid(i, iEnd - i)))) {
      const QString sLiteral = sText.mid(i, iEnd - i);
      literals.append(sLiteral);
      if (bNested && sLiteral.size() > 2) {
        QString sInner = sLiteral.mid(1, sLiteral.size() - (sLiteral.endsWith(u'\'') ? 2 : 1));
        sInner.replace(QStringLiteral("''"), QStringLiteral("'"));
        CollectLiterals(sInner, true, true, literals);
      }
    }
    i = iEnd;
  }
}

// Words that are T-SQL, or that the translator must look at because the
// server would split a batch before them.
bool IsTsqlWord(const QString& sWord) {
  static const QSet<QString> words = {
      u"top"_qs,     u"isnull"_qs,   u"cast"_qs,     u"convert"_qs, u"datediff"_qs,
      u"dateadd"_qs, u"datepart"_qs, u"datename"_qs, u"insert"_qs,  u"delete"_qs,
      u"update"_qs,  u"set"_qs,      u"values"_qs,   u"if"_qs,      u"else"_qs,
      u"end"_qs,     u"case"_qs,     u"drop"_qs,     u"create"_qs,  u"exec"_qs,
      u"execute"_qs, u"declare"_qs,  u"begin"_qs,    u"commit"_qs,  u"rollback"_qs,
      u"while"_qs,   u"print"_qs,    u"return"_qs,   u"trigger"_qs, u"sysobjects"_qs};
  return words.contains(sWord);
}

struct CodeFacts {
  bool bUsesSpid = false;
  // Nothing in the code outside literals and comments is T-SQL: variables,
  // temporary tables, "+", N'' literals, the words above, or a second
  // select that the server would take for a new statement.
  bool bPlainSqlite = true;
};

CodeFacts ReadCode(const QString& sText) {
  CodeFacts facts;
  QString sPreviousWord;
  QChar cPrevious;
  bool bSeenToken = false;
  for (qsizetype i = 0; i < sText.size();) {
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sText, i);
    if (iOpaque > i) {
      if (!SqlScanner::IsCommentStart(sText, i)) {
        cPrevious = sText[i];
        sPreviousWord.clear();
        bSeenToken = true;
      }
      i = iOpaque;
      continue;
    }
    const QChar c = sText[i];
    if (SqlScanner::IsSpace(c)) {
      ++i;
      continue;
    }
    if (c == u'@' || c == u'#' || c == u'+') facts.bPlainSqlite = false;
    if (c == u'@' && sText.mid(i, 6).compare(u"@@spid", Qt::CaseInsensitive) == 0 &&
        SqlScanner::WordEnd(sText, i + 2) == i + 6) {
      facts.bUsesSpid = true;
    }
    if (!SqlScanner::IsWordChar(c)) {
      cPrevious = c;
      sPreviousWord.clear();
      bSeenToken = true;
      ++i;
      continue;
    }
    const qsizetype iEnd = SqlScanner::WordEnd(sText, i);
    const QString sWord = sText.mid(i, iEnd - i).toLower();
    if (IsTsqlWord(sWord) || (sWord == u"n" && iEnd < sText.size() && sText[iEnd] == u'\'')) {
      facts.bPlainSqlite = false;
    }
    if (sWord == u"select" && bSeenToken && cPrevious != u'(' &&
        !QStringList{u"union"_qs, u"all"_qs, u"except"_qs, u"intersect"_qs}.contains(
            sPreviousWord)) {
      facts.bPlainSqlite = false;
    }
    bSeenToken = true;
    sPreviousWord = sWord;
    cPrevious = sText[iEnd - 1];
    i = iEnd;
  }
  return facts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const QString sBatch =
      QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize)));
  int iSpidCalls = 0;
  twk::TsqlTranslator translator([&iSpidCalls] {
    ++iSpidCalls;
    return 4242L;
  });
  const twk::Translation first = translator.Translate(sBatch);
  const twk::Translation second = translator.Translate(sBatch);
  TWK_FUZZ_REQUIRE(first.sSql == second.sSql && first.bUsesSysobjects == second.bUsesSysobjects);

  const CodeFacts facts = ReadCode(sBatch);
  // A connection that never asks for its number never writes one.
  TWK_FUZZ_REQUIRE(facts.bUsesSpid || iSpidCalls == 0);
  if (facts.bPlainSqlite) TWK_FUZZ_REQUIRE(first.sSql == sBatch);

  QStringList before;
  CollectLiterals(sBatch, false, false, before);
  QStringList after;
  CollectLiterals(first.sSql, true, true, after);
  for (const QString& sLiteral : before) {
    const qsizetype iFound = after.indexOf(sLiteral);
    if (iFound < 0) std::fprintf(stderr, "lost literal: %s\n", qPrintable(sLiteral));
    TWK_FUZZ_REQUIRE(iFound >= 0);
    after.removeAt(iFound);
  }
  return 0;
}
