// SPDX-License-Identifier: MIT
#include "TsqlScriptCheck.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace twk::test {

namespace {

enum class TokenKind { Word, Punct, Literal };

struct Token {
  TokenKind kind;
  std::string sText;  // words in lower case
  int iLine;
};

struct Batch {
  std::vector<Token> tokens;
};

std::string Lower(std::string_view s) {
  std::string sLower(s);
  std::transform(sLower.begin(), sLower.end(), sLower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return sLower;
}

bool IsWordStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#';
}

bool IsWordPart(char c) {
  return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}

// A line that sqlcmd takes as the end of a batch: GO alone, perhaps with a count.
bool IsGoLine(std::string_view line) {
  std::string sWords = Lower(line);
  const auto first = sWords.find_first_not_of(" \t\r");
  if (first == std::string::npos) return false;
  sWords.erase(0, first);
  sWords.erase(sWords.find_last_not_of(" \t\r") + 1);
  if (sWords.rfind("go", 0) != 0) return false;
  const std::string_view sRest = std::string_view(sWords).substr(2);
  if (sRest.empty()) return true;
  if (sRest.front() != ' ' && sRest.front() != '\t') return false;
  const auto digits = sRest.find_first_not_of(" \t");
  return std::all_of(sRest.begin() + std::ptrdiff_t(digits), sRest.end(),
                     [](unsigned char c) { return std::isdigit(c); });
}

// Cuts the script into batches of tokens; faults of the lexical kind (an
// unclosed string, a GO inside one) are found on the way.
class Splitter {
 public:
  explicit Splitter(const std::string& sScript) : s_(sScript) {}

  void Run() {
    std::size_t iLineStart = 0;
    while (iLineStart < s_.size()) {
      std::size_t iLineEnd = s_.find('\n', iLineStart);
      if (iLineEnd == std::string::npos) iLineEnd = s_.size();
      const std::string_view line(s_.data() + iLineStart, iLineEnd - iLineStart);
      // sqlcmd substitutes these everywhere, strings and comments included.
      if (line.find("$(") != std::string_view::npos)
        Fault(iLine_, "sqlcmd takes $( for a scripting variable");
      if (IsGoLine(line)) {
        if (state_ != State::Normal) {
          Fault(iOpenLine_, "the " + OpenName() + " opened here is still open at the GO on line " +
                                std::to_string(iLine_) + "; sqlcmd ends the batch there");
          state_ = State::Normal;
        }
        EndBatch();
      } else {
        Scan(line);
      }
      iLineStart = iLineEnd + 1;
      ++iLine_;
    }
    if (state_ != State::Normal)
      Fault(iOpenLine_, "the " + OpenName() + " opened here is never closed");
    EndBatch();
  }

  std::vector<Batch> batches;
  std::vector<ScriptFault> faults;

 private:
  enum class State { Normal, String, QuotedName, BracketName, BlockComment };

  std::string OpenName() const {
    switch (state_) {
      case State::String:
        return "string";
      case State::QuotedName:
        return "quoted name";
      case State::BracketName:
        return "bracketed name";
      case State::BlockComment:
        return "comment";
      case State::Normal:
        break;
    }
    return "text";
  }

  void Fault(int iLine, std::string sWhat) { faults.push_back({iLine, std::move(sWhat)}); }

  void EndBatch() {
    if (!current_.tokens.empty()) batches.push_back(std::move(current_));
    current_ = Batch{};
  }

  void Open(State state) {
    state_ = state;
    iOpenLine_ = iLine_;
    if (state == State::BlockComment) iCommentDepth_ = 1;
  }

  // Closes a delimited name or string at its closing character; a doubled
  // closing character stands for itself and does not close.
  std::size_t ScanDelimited(std::string_view line, std::size_t i, char cClose) {
    while (i < line.size()) {
      if (line[i] == cClose) {
        if (i + 1 < line.size() && line[i + 1] == cClose) {
          i += 2;
          continue;
        }
        state_ = State::Normal;
        return i + 1;
      }
      ++i;
    }
    return i;
  }

  std::size_t ScanComment(std::string_view line, std::size_t i) {
    while (i < line.size()) {
      // T-SQL comments nest.
      if (line.compare(i, 2, "/*") == 0) {
        ++iCommentDepth_;
        i += 2;
      } else if (line.compare(i, 2, "*/") == 0) {
        i += 2;
        if (--iCommentDepth_ == 0) {
          state_ = State::Normal;
          return i;
        }
      } else {
        ++i;
      }
    }
    return i;
  }

  void Scan(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
      switch (state_) {
        case State::String:
          i = ScanDelimited(line, i, '\'');
          continue;
        case State::QuotedName:
          i = ScanDelimited(line, i, '"');
          continue;
        case State::BracketName:
          i = ScanDelimited(line, i, ']');
          continue;
        case State::BlockComment:
          i = ScanComment(line, i);
          continue;
        case State::Normal:
          break;
      }
      const char c = line[i];
      if (line.compare(i, 2, "--") == 0) return;
      if (line.compare(i, 2, "/*") == 0) {
        Open(State::BlockComment);
        i += 2;
      } else if (c == '\'' || c == '"' || c == '[') {
        Add(TokenKind::Literal, std::string(1, c));
        Open(c == '\'' ? State::String : c == '"' ? State::QuotedName : State::BracketName);
        ++i;
      } else if (IsWordStart(c)) {
        std::size_t iEnd = i;
        while (iEnd < line.size() && IsWordPart(line[iEnd])) ++iEnd;
        const std::string sWord = Lower(line.substr(i, iEnd - i));
        if (sWord == "go") Fault(iLine_, "GO must stand alone on its line to end a batch");
        Add(TokenKind::Word, sWord);
        i = iEnd;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        while (i < line.size() &&
               (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '.'))
          ++i;
        Add(TokenKind::Literal, "0");
      } else {
        if (!std::isspace(static_cast<unsigned char>(c))) Add(TokenKind::Punct, std::string(1, c));
        ++i;
      }
    }
  }

  void Add(TokenKind kind, std::string sText) {
    current_.tokens.push_back({kind, std::move(sText), iLine_});
  }

  const std::string& s_;
  State state_ = State::Normal;
  int iLine_ = 1;
  int iOpenLine_ = 0;
  int iCommentDepth_ = 0;
  Batch current_;
};

bool IsWord(const std::vector<Token>& tokens, std::size_t i, std::string_view sWord) {
  return i < tokens.size() && tokens[i].kind == TokenKind::Word && tokens[i].sText == sWord;
}

bool IsAnyWord(const std::vector<Token>& tokens, std::size_t i,
               std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view sWord) { return IsWord(tokens, i, sWord); });
}

// create [or alter] or alter, followed by a kind of object that must be
// alone in its batch: the index of that kind's word, or 0 for none.
std::size_t ModuleKindAt(const std::vector<Token>& tokens, std::size_t i) {
  std::size_t j = i + 1;
  if (IsWord(tokens, i, "create")) {
    if (IsWord(tokens, j, "or") && IsWord(tokens, j + 1, "alter")) j += 2;
  } else if (!IsWord(tokens, i, "alter")) {
    return 0;
  }
  return IsAnyWord(tokens, j, {"procedure", "proc", "function", "trigger", "view"}) ? j : 0;
}

void CheckParentheses(const Batch& batch, std::vector<ScriptFault>& faults) {
  std::vector<int> open;
  for (const Token& token : batch.tokens) {
    if (token.kind != TokenKind::Punct) continue;
    if (token.sText == "(") {
      open.push_back(token.iLine);
    } else if (token.sText == ")") {
      if (open.empty()) {
        faults.push_back({token.iLine, ") without a ( before it"});
      } else {
        open.pop_back();
      }
    }
  }
  for (int iLine : open) faults.push_back({iLine, "( without a ) after it in its batch"});
}

// begin and case open a block that end closes; begin transaction, begin
// dialog and end conversation are statements, not blocks.
void CheckBlocks(const Batch& batch, std::vector<ScriptFault>& faults) {
  const std::vector<Token>& tokens = batch.tokens;
  std::vector<const Token*> open;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (IsWord(tokens, i, "begin")) {
      if (!IsAnyWord(tokens, i + 1,
                     {"tran", "transaction", "distributed", "dialog", "conversation"}))
        open.push_back(&tokens[i]);
    } else if (IsWord(tokens, i, "case")) {
      open.push_back(&tokens[i]);
    } else if (IsWord(tokens, i, "end") && !IsWord(tokens, i + 1, "conversation")) {
      if (open.empty()) {
        faults.push_back({tokens[i].iLine, "end without a begin or case before it"});
      } else {
        open.pop_back();
      }
    }
  }
  for (const Token* pToken : open)
    faults.push_back({pToken->iLine, pToken->sText + " without an end in its batch"});
}

struct SessionOptions {
  bool bAnsiNulls = false;
  bool bQuotedIdentifier = false;  // sqlcmd's default
};

// set a[, b ...] on|off; ansi_defaults carries both options the server stores.
void ApplySetStatements(const Batch& batch, SessionOptions& options) {
  const std::vector<Token>& tokens = batch.tokens;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (!IsWord(tokens, i, "set")) continue;
    std::vector<std::string> names;
    std::size_t j = i + 1;
    while (j < tokens.size() && tokens[j].kind == TokenKind::Word && tokens[j].sText[0] != '@') {
      if (tokens[j].sText == "on" || tokens[j].sText == "off") break;
      names.push_back(tokens[j].sText);
      ++j;
      if (j < tokens.size() && tokens[j].sText == ",") ++j;
    }
    if (!IsAnyWord(tokens, j, {"on", "off"})) continue;
    const bool bOn = tokens[j].sText == "on";
    for (const std::string& sName : names) {
      if (sName == "ansi_nulls" || sName == "ansi_defaults") options.bAnsiNulls = bOn;
      if (sName == "quoted_identifier" || sName == "ansi_defaults") options.bQuotedIdentifier = bOn;
    }
  }
}

void CheckModuleBatch(const Batch& batch, const SessionOptions& options,
                      std::vector<ScriptFault>& faults) {
  std::string sMissing;
  if (!options.bAnsiNulls) sMissing += "set ansi_nulls on";
  if (!options.bQuotedIdentifier)
    sMissing += std::string(sMissing.empty() ? "" : " and ") + "set quoted_identifier on";
  if (!sMissing.empty())
    faults.push_back({batch.tokens.front().iLine,
                      "the " + batch.tokens[ModuleKindAt(batch.tokens, 0)].sText +
                          " is created without " + sMissing +
                          " in an earlier batch; the server keeps the setting with it"});
}

void CheckModulesStartTheirBatch(const Batch& batch, std::vector<ScriptFault>& faults) {
  const std::vector<Token>& tokens = batch.tokens;
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    const bool bAlterOfCreateOrAlter =
        i >= 2 && IsWord(tokens, i - 2, "create") && IsWord(tokens, i - 1, "or");
    const std::size_t iKind = ModuleKindAt(tokens, i);
    if (iKind != 0 && !bAlterOfCreateOrAlter)
      faults.push_back({tokens[i].iLine, tokens[i].sText + " " + tokens[iKind].sText +
                                             " must be the first statement of its batch: a GO is "
                                             "missing before it"});
  }
}

}  // namespace

std::vector<ScriptFault> CheckScript(const std::string& sScript) {
  Splitter splitter(sScript);
  splitter.Run();
  std::vector<ScriptFault> faults = std::move(splitter.faults);
  SessionOptions options;
  for (const Batch& batch : splitter.batches) {
    CheckParentheses(batch, faults);
    CheckBlocks(batch, faults);
    CheckModulesStartTheirBatch(batch, faults);
    // A set inside a procedure's body belongs to the body, not to the session.
    if (ModuleKindAt(batch.tokens, 0) != 0) {
      CheckModuleBatch(batch, options, faults);
    } else {
      ApplySetStatements(batch, options);
    }
  }
  std::stable_sort(faults.begin(), faults.end(),
                   [](const ScriptFault& a, const ScriptFault& b) { return a.iLine < b.iLine; });
  return faults;
}

std::string Describe(const std::vector<ScriptFault>& faults) {
  std::string sText;
  for (const ScriptFault& fault : faults)
    sText += "line " + std::to_string(fault.iLine) + ": " + fault.sWhat + "\n";
  return sText;
}

}  // namespace twk::test
