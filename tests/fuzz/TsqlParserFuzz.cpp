// SPDX-License-Identifier: MIT
// The T-SQL front end on any text. The tokens cover the text end to end, in
// order, without overlap, each on the line it starts on, and the same every
// time; every NUL character lies in a literal, quoted name or comment, or is
// a token of its own that no statement accepts, and Parse refuses any batch
// that holds one (SQLite would read the NUL as the text's end). Parse gives a
// batch or a TsqlError whose line is one of the text's lines, never another
// exception, and gives the same answer twice. The dump of a parsed batch,
// all parentheses, is parsed too: it must end as fast (the run's -timeout).
#include <QByteArray>
#include <QString>
#include <optional>

#include "AstDump.h"
#include "FuzzInput.h"
#include "Parser.h"
#include "Tokenizer.h"
#include "TsqlError.h"

namespace {

using twk::tsql::Token;
using Kind = Token::Kind;

bool SameTokens(const std::vector<Token>& left, const std::vector<Token>& right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    const Token& a = left[i];
    const Token& b = right[i];
    if (a.kind != b.kind || a.span.iStart != b.span.iStart || a.span.iEnd != b.span.iEnd ||
        a.span.iLine != b.span.iLine) {
      return false;
    }
  }
  return true;
}

bool MayHoldNul(Kind kind) {
  return kind == Kind::String || kind == Kind::UnicodeString || kind == Kind::QuotedName ||
         kind == Kind::Comment || kind == Kind::Unterminated || kind == Kind::Unknown;
}

void CheckTokens(const QString& sText) {
  const std::vector<Token> tokens = twk::tsql::Tokenizer::Tokenize(sText);
  TWK_FUZZ_REQUIRE(!tokens.empty() && tokens.back().kind == Kind::End);
  qsizetype iAt = 0;
  int iLine = 1;
  size_t iSignificant = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    TWK_FUZZ_REQUIRE(token.span.iStart == iAt);
    TWK_FUZZ_REQUIRE(token.span.iLine == iLine);
    TWK_FUZZ_REQUIRE(token.kind == Kind::End ? i + 1 == tokens.size() && token.span.iEnd == iAt
                                             : token.span.iEnd > iAt);
    for (; iAt < token.span.iEnd; ++iAt) {
      if (sText[iAt] == u'\n') ++iLine;
      if (sText[iAt] == u'\0') TWK_FUZZ_REQUIRE(MayHoldNul(token.kind));
    }
    if (token.kind == Kind::Unknown && token.Text(sText).contains(QChar(u'\0'))) {
      TWK_FUZZ_REQUIRE(token.span.iEnd - token.span.iStart == 1);
    }
    if (token.kind != Kind::Blank && token.kind != Kind::Comment) ++iSignificant;
  }
  TWK_FUZZ_REQUIRE(iAt == sText.size());
  TWK_FUZZ_REQUIRE(SameTokens(tokens, twk::tsql::Tokenizer::Tokenize(sText)));
  TWK_FUZZ_REQUIRE(twk::tsql::Tokenizer::Significant(sText).size() == iSignificant);
}

/// What one Parse gave: the dump of the batch, or the error's number, line and message.
struct Outcome {
  std::optional<QString> sDump;
  long lNumber = 0;
  int iLine = 0;
  QString sMessage;

  bool operator==(const Outcome& other) const {
    return sDump == other.sDump && lNumber == other.lNumber && iLine == other.iLine &&
           sMessage == other.sMessage;
  }
};

Outcome ParseOnce(const QString& sText) {
  Outcome outcome;
  try {
    outcome.sDump = twk::tsql::AstDump::Of(twk::tsql::Parse(sText));
  } catch (const twk::tsql::TsqlError& error) {
    outcome.lNumber = error.Number();
    outcome.iLine = error.Line();
    outcome.sMessage = error.Message();
  } catch (...) {
    TWK_FUZZ_REQUIRE(false && "Parse threw something other than TsqlError");
  }
  return outcome;
}

Outcome CheckParse(const QString& sText) {
  const Outcome outcome = ParseOnce(sText);
  const bool bNul = sText.contains(QChar(u'\0'));
  if (!outcome.sDump) {
    TWK_FUZZ_REQUIRE(outcome.iLine >= 1 && outcome.iLine <= sText.count(u'\n') + 1);
    TWK_FUZZ_REQUIRE(!outcome.sMessage.isEmpty());
  }
  TWK_FUZZ_REQUIRE(!bNul || (!outcome.sDump && outcome.sMessage.contains(u"NUL character")));
  TWK_FUZZ_REQUIRE(ParseOnce(sText) == outcome);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const QString sText =
      QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize)));
  CheckTokens(sText);
  const Outcome outcome = CheckParse(sText);
  if (outcome.sDump) CheckParse(*outcome.sDump);
  return 0;
}
