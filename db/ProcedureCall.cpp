// SPDX-License-Identifier: MIT
#include "ProcedureCall.h"

#include <sqlite3.h>

#include "SqlScanner.h"
#include "TwkError.h"

namespace twk {

namespace {

[[noreturn]] void SyntaxError(const QString& sText, qsizetype iPos) {
  const QString sNear = iPos < sText.size() ? sText.mid(iPos, 20).section(u'\n', 0, 0)
                                            : QStringLiteral("end of statement");
  throw TwkError(QStringLiteral("Incorrect syntax near '%1'.").arg(sNear), QStringLiteral("SQLite"),
                 SQLITE_ERROR);
}

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// One part of a possibly qualified name: word, [bracketed] or "quoted".
QString ReadNamePart(const QString& sText, qsizetype& iPos) {
  if (iPos < sText.size() && (sText[iPos] == u'[' || sText[iPos] == u'"')) {
    const qsizetype iEnd = SqlScanner::SkipOpaque(sText, iPos);
    const QString sName = sText.mid(iPos + 1, iEnd - iPos - 2);
    iPos = iEnd;
    return sName;
  }
  const qsizetype iEnd = SqlScanner::WordEnd(sText, iPos);
  const QString sName = sText.mid(iPos, iEnd - iPos);
  iPos = iEnd;
  return sName;
}

QVariant ReadString(const QString& sText, qsizetype& iPos) {
  const qsizetype iEnd = SqlScanner::SkipOpaque(sText, iPos);
  if (iEnd - iPos < 2 || sText[iEnd - 1] != u'\'') SyntaxError(sText, iPos);
  QString sValue = sText.mid(iPos + 1, iEnd - iPos - 2);
  sValue.replace(QStringLiteral("''"), QStringLiteral("'"));
  iPos = iEnd;
  return QVariant(sValue);
}

QVariant ReadNumber(const QString& sText, qsizetype& iPos) {
  qsizetype iEnd = iPos;
  if (sText[iEnd] == u'+' || sText[iEnd] == u'-') ++iEnd;
  bool bReal = false;
  while (iEnd < sText.size()) {
    const QChar c = sText[iEnd];
    const bool bExponentSign = (c == u'+' || c == u'-') && (sText[iEnd - 1].toLower() == u'e');
    if (!IsDigit(c) && c != u'.' && c.toLower() != u'e' && !bExponentSign) break;
    bReal = bReal || !IsDigit(c);
    ++iEnd;
  }
  const QString sNumber = sText.mid(iPos, iEnd - iPos);
  bool bOk = false;
  const qint64 lInteger = bReal ? 0 : sNumber.toLongLong(&bOk);
  if (bOk) {
    iPos = iEnd;
    return QVariant(lInteger);
  }
  const double dReal = sNumber.toDouble(&bOk);
  if (!bOk) SyntaxError(sText, iPos);
  iPos = iEnd;
  return QVariant(dReal);
}

QVariant ReadValue(const QString& sText, qsizetype& iPos, const ParameterBindings* pScope) {
  if (iPos >= sText.size()) SyntaxError(sText, iPos);
  const QChar c = sText[iPos];
  if ((c == u'N' || c == u'n') && iPos + 1 < sText.size() && sText[iPos + 1] == u'\'') ++iPos;
  if (sText[iPos] == u'\'') return ReadString(sText, iPos);
  if (IsDigit(c) || c == u'.' || c == u'+' || c == u'-') return ReadNumber(sText, iPos);
  if (SqlScanner::LowerWordAt(sText, iPos) == u"null") {
    iPos += 4;
    return QVariant();
  }
  if (c == u'@') {
    const qsizetype iEnd = SqlScanner::WordEnd(sText, iPos + 1);
    const QString sName = sText.mid(iPos, iEnd - iPos);
    iPos = iEnd;
    if (!pScope) return QVariant();
    const QVariant* pValue = FindBinding(*pScope, sName);
    if (!pValue) {
      throw TwkError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(sName),
                     QStringLiteral("SQLite"), SQLITE_ERROR);
    }
    return *pValue;
  }
  SyntaxError(sText, iPos);
}

// Whether an argument starts at iPos; anything else ends the statement.
bool StartsArgument(const QString& sText, qsizetype iPos) {
  if (iPos >= sText.size()) return false;
  const QChar c = sText[iPos];
  if (c == u'\'' || c == u'@' || c == u'.' || c == u'+' || c == u'-' || IsDigit(c)) return true;
  if ((c == u'N' || c == u'n') && iPos + 1 < sText.size() && sText[iPos + 1] == u'\'') return true;
  return SqlScanner::LowerWordAt(sText, iPos) == u"null";
}

ProcedureArgument ReadArgument(const QString& sText, qsizetype& iPos,
                               const ParameterBindings* pScope) {
  ProcedureArgument argument;
  if (sText[iPos] == u'@') {
    const qsizetype iNameEnd = SqlScanner::WordEnd(sText, iPos + 1);
    const qsizetype iEquals = SqlScanner::SkipSpaceAndComments(sText, iNameEnd);
    if (iEquals < sText.size() && sText[iEquals] == u'=') {
      argument.sName = sText.mid(iPos, iNameEnd - iPos);
      iPos = SqlScanner::SkipSpaceAndComments(sText, iEquals + 1);
    }
  }
  argument.value = ReadValue(sText, iPos, pScope);
  return argument;
}

}  // namespace

ProcedureCall ProcedureCall::Parse(const QString& sText, qsizetype iPos,
                                   const ParameterBindings* pScope) {
  ProcedureCall call;
  qsizetype i = SqlScanner::SkipSpaceAndComments(sText, SqlScanner::WordEnd(sText, iPos));
  call.sName = ReadNamePart(sText, i);
  while (i < sText.size() && sText[i] == u'.') {  // owner prefix, as in dbo.name
    ++i;
    call.sName = ReadNamePart(sText, i);
  }
  if (call.sName.isEmpty()) SyntaxError(sText, i);
  i = SqlScanner::SkipSpaceAndComments(sText, i);
  // After the first argument only a comma brings another: "exec p 'a' 'b'"
  // is an error on the server, not two arguments.
  bool bArgumentExpected = StartsArgument(sText, i);
  while (bArgumentExpected) {
    call.arguments.push_back(ReadArgument(sText, i, pScope));
    i = SqlScanner::SkipSpaceAndComments(sText, i);
    bArgumentExpected = i < sText.size() && sText[i] == u',';
    if (bArgumentExpected) i = SqlScanner::SkipSpaceAndComments(sText, i + 1);
  }
  call.iEnd = i;
  return call;
}

QVariant* FindBinding(ParameterBindings& bindings, const QString& sName) {
  for (auto& [sBound, value] : bindings) {
    if (sBound.compare(sName, Qt::CaseInsensitive) == 0) return &value;
  }
  return nullptr;
}

const QVariant* FindBinding(const ParameterBindings& bindings, const QString& sName) {
  for (const auto& [sBound, value] : bindings) {
    if (sBound.compare(sName, Qt::CaseInsensitive) == 0) return &value;
  }
  return nullptr;
}

}  // namespace twk
