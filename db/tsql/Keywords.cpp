// SPDX-License-Identifier: MIT
#include "Keywords.h"

#include <QSet>
#include <QString>
#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace twk::tsql {

namespace {

// The reserved keywords of Transact-SQL, as the server's documentation lists them.
const char* const kReserved[] = {
    "add",
    "all",
    "alter",
    "and",
    "any",
    "as",
    "asc",
    "authorization",
    "backup",
    "begin",
    "between",
    "break",
    "browse",
    "bulk",
    "by",
    "cascade",
    "case",
    "check",
    "checkpoint",
    "close",
    "clustered",
    "coalesce",
    "collate",
    "column",
    "commit",
    "compute",
    "constraint",
    "contains",
    "containstable",
    "continue",
    "convert",
    "create",
    "cross",
    "current",
    "current_date",
    "current_time",
    "current_timestamp",
    "current_user",
    "cursor",
    "database",
    "dbcc",
    "deallocate",
    "declare",
    "default",
    "delete",
    "deny",
    "desc",
    "disk",
    "distinct",
    "distributed",
    "double",
    "drop",
    "dump",
    "else",
    "end",
    "errlvl",
    "escape",
    "except",
    "exec",
    "execute",
    "exists",
    "exit",
    "external",
    "fetch",
    "file",
    "fillfactor",
    "for",
    "foreign",
    "freetext",
    "freetexttable",
    "from",
    "full",
    "function",
    "goto",
    "grant",
    "group",
    "having",
    "holdlock",
    "identity",
    "identity_insert",
    "identitycol",
    "if",
    "in",
    "index",
    "inner",
    "insert",
    "intersect",
    "into",
    "is",
    "join",
    "key",
    "kill",
    "left",
    "like",
    "lineno",
    "load",
    "merge",
    "national",
    "nocheck",
    "nonclustered",
    "not",
    "null",
    "nullif",
    "of",
    "off",
    "offsets",
    "on",
    "open",
    "opendatasource",
    "openquery",
    "openrowset",
    "openxml",
    "option",
    "or",
    "order",
    "outer",
    "over",
    "percent",
    "pivot",
    "plan",
    "precision",
    "primary",
    "print",
    "proc",
    "procedure",
    "public",
    "raiserror",
    "read",
    "readtext",
    "reconfigure",
    "references",
    "replication",
    "restore",
    "restrict",
    "return",
    "revert",
    "revoke",
    "right",
    "rollback",
    "rowcount",
    "rowguidcol",
    "rule",
    "save",
    "schema",
    "securityaudit",
    "select",
    "semantickeyphrasetable",
    "semanticsimilaritydetailstable",
    "semanticsimilaritytable",
    "session_user",
    "set",
    "setuser",
    "shutdown",
    "some",
    "statistics",
    "system_user",
    "table",
    "tablesample",
    "textsize",
    "then",
    "to",
    "top",
    "tran",
    "transaction",
    "trigger",
    "truncate",
    "try_convert",
    "tsequal",
    "union",
    "unique",
    "unpivot",
    "update",
    "updatetext",
    "use",
    "user",
    "values",
    "varying",
    "view",
    "waitfor",
    "when",
    "where",
    "while",
    "with",
    "writetext",
};

const QSet<QString>& ReservedSet() {
  static const QSet<QString> set = [] {
    QSet<QString> words;
    for (const char* sWord : kReserved) words.insert(QString::fromLatin1(sWord));
    return words;
  }();
  return set;
}

}  // namespace

bool Keywords::IsReserved(QStringView sWord) {
  constexpr qsizetype kLongest = 32;
  if (sWord.size() > kLongest || sWord.isEmpty() || !sWord.front().isLetter()) return false;
  // Asked of nearly every word the parser meets: an ASCII word is looked up
  // without a copy; others go the long way, as case folding may turn them
  // into ASCII.
  char acLower[kLongest];
  for (qsizetype i = 0; i < sWord.size(); ++i) {
    const char16_t c = sWord[i].unicode();
    if (c >= 0x80) return ReservedSet().contains(sWord.toString().toLower());
    acLower[i] = char(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
  }
  static const std::vector<std::string_view> sorted = [] {
    std::vector<std::string_view> words(std::begin(kReserved), std::end(kReserved));
    std::sort(words.begin(), words.end());
    return words;
  }();
  return std::binary_search(sorted.begin(), sorted.end(),
                            std::string_view(acLower, std::size_t(sWord.size())));
}

}  // namespace twk::tsql
