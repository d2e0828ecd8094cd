// SPDX-License-Identifier: MIT
// The lexical scanner that the translator and the batch executor share:
// every step stays inside the text and moves forward, its reading of
// literals, names and comments is the one the placeholder replacement takes
// for the embedded dialect, and where a batch ends it agrees with SQLite's
// own tokenizer (sqlite3_complete).
#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <vector>

#include "FuzzInput.h"
#include "SqlContexts.h"
#include "SqlScanner.h"

namespace {

using twk::SqlContext;
using twk::SqlScanner;

bool OpensOpaque(const QString& sText, qsizetype iPos) {
  const QChar c = sText[iPos];
  return c == u'\'' || c == u'"' || c == u'`' || c == u'[' ||
         SqlScanner::IsCommentStart(sText, iPos);
}

// Each function at each position: bounds, progress and what it promises
// about the position it returns.
void CheckSteps(const QString& sText) {
  const qsizetype iSize = sText.size();
  for (qsizetype i = 0; i <= iSize; ++i) {
    const qsizetype iOpaque = SqlScanner::SkipOpaque(sText, i);
    TWK_FUZZ_REQUIRE(iOpaque >= i && iOpaque <= iSize);
    TWK_FUZZ_REQUIRE((iOpaque > i) == (i < iSize && OpensOpaque(sText, i)));

    const qsizetype iSignificant = SqlScanner::SkipSpaceAndComments(sText, i);
    TWK_FUZZ_REQUIRE(iSignificant >= i && iSignificant <= iSize);
    if (iSignificant < iSize) {
      TWK_FUZZ_REQUIRE(!SqlScanner::IsSpace(sText[iSignificant]));
      TWK_FUZZ_REQUIRE(!SqlScanner::IsCommentStart(sText, iSignificant));
    }

    const qsizetype iWordEnd = SqlScanner::WordEnd(sText, i);
    TWK_FUZZ_REQUIRE(iWordEnd >= i && iWordEnd <= iSize);
    for (qsizetype j = i; j < iWordEnd; ++j) TWK_FUZZ_REQUIRE(SqlScanner::IsWordChar(sText[j]));
    TWK_FUZZ_REQUIRE(iWordEnd == iSize || !SqlScanner::IsWordChar(sText[iWordEnd]));

    const QString sWord = SqlScanner::LowerWordAt(sText, i);
    if (i < iSize && SqlScanner::IsWordStart(sText[i])) {
      TWK_FUZZ_REQUIRE(sWord == sText.mid(i, iWordEnd - i).toLower());
    } else {
      TWK_FUZZ_REQUIRE(sWord.isEmpty());
    }
  }
}

SqlContext ContextOpenedBy(const QString& sText, qsizetype iPos) {
  switch (sText[iPos].unicode()) {
    case u'\'':
      return SqlContext::Literal;
    case u'"':
      return SqlContext::QuotedName;
    case u'[':
      return SqlContext::Bracketed;
    case u'`':
      return SqlContext::Backticked;
    default:
      return SqlContext::Comment;
  }
}

struct Walk {
  std::vector<SqlContext> contexts;
  // The last character outside white space and comments is a ';' of code.
  bool bEndsStatement = false;
  bool bOpenBlockComment = false;
};

// Reads the text from its start as the translator and executor do.
Walk WalkText(const QString& sText) {
  Walk walk;
  walk.contexts.resize(std::size_t(sText.size()), SqlContext::Code);
  qsizetype i = 0;
  while (i < sText.size()) {
    const qsizetype iEnd = SqlScanner::SkipOpaque(sText, i);
    if (iEnd == i) {
      if (!SqlScanner::IsSpace(sText[i])) walk.bEndsStatement = sText[i] == u';';
      ++i;
      continue;
    }
    const SqlContext context = ContextOpenedBy(sText, i);
    for (qsizetype j = i; j < iEnd; ++j) walk.contexts[std::size_t(j)] = context;
    if (context != SqlContext::Comment) {
      walk.bEndsStatement = false;
    } else if (sText[i] == u'/' && iEnd == sText.size()) {
      walk.bOpenBlockComment = !(iEnd - i >= 4 && sText.endsWith(QLatin1StringView("*/")));
    }
    i = iEnd;
  }
  return walk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const QByteArray bytes(reinterpret_cast<const char*>(pData), qsizetype(iSize));
  const QString sText = QString::fromUtf8(bytes);
  CheckSteps(sText);

  const Walk walk = WalkText(sText);
  TWK_FUZZ_REQUIRE(walk.contexts == twk::ReadSqlContexts(sText, twk::SqlDialect::Sqlite));

  // SQLite's completeness check knows triggers, whose bodies hold ';'s, and
  // reads a NUL as the end of the text: both are left out.
  if (sText.contains(QChar(u'\0')) ||
      sText.contains(QLatin1StringView("trigger"), Qt::CaseInsensitive)) {
    return 0;
  }
  const bool bComplete = walk.bEndsStatement && !walk.bOpenBlockComment;
  TWK_FUZZ_REQUIRE(bComplete == (sqlite3_complete16(sText.utf16()) != 0));
  return 0;
}
