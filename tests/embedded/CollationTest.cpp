// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlCollation, ComparesAsTheDefaultCollationOfAnImisDatabase) {
  FunctionConnection connection;
  CheckCases(connection, {
                             {"'EVANSTON' = 'Evanston' collate TSQL", "1"},
                             {"'abc' = 'abc   ' collate TSQL", "1"},
                             {"'abc' = '  abc' collate TSQL", "0"},
                             {"'abc' = 'abc\t' collate TSQL", "0"},
                             {"'résumé' = 'RÉSUMÉ' collate TSQL", "1"},
                             {"'resume' = 'résumé' collate TSQL", "0"},
                             {"'Straße' < 'strasse' collate TSQL", "0"},
                             {"'é' between 'e' and 'f' collate TSQL", "1"},
                             {"'B' > 'a' collate TSQL", "1"},
                         });
}

TEST(TsqlCollation, GroupsSortsAndIndexesConsistently) {
  FunctionConnection connection;
  connection.Run(
      "create table t(s text collate TSQL); create index t_s on t(s);"
      "insert into t values ('b'), ('B  '), ('a'), ('É'), ('e'), ('A'), ('é');");
  CheckCases(connection,
             {
                 {"count(distinct s) from t", "4"},
                 {"group_concat(s, '') from (select s from t order by s, rowid)", "aAbB  eÉé"},
                 {"count(*) from t where s = 'b'", "2"},
                 {"count(*) from t indexed by t_s where s = 'É'", "2"},
             });
}

TEST(TsqlLike, MatchesPatternsAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(connection, {
                             {"tsql_like('555-0162', '555-01[0-6][0-9]')", "1"},
                             {"tsql_like('555-0172', '555-01[0-6][0-9]')", "0"},
                             {"tsql_like('Smith', 'sm_th')", "1"},
                             {"tsql_like('Smith', '%ITH')", "1"},
                             {"tsql_like('Smith', '[^s]%')", "0"},
                             {"tsql_like('Smith', '[A-S]mi%')", "1"},
                             {"tsql_like('Smith', '[xyzs]%')", "1"},
                             {"tsql_like('abc   ', 'abc')", "1"},
                             {"tsql_like('abc', 'abc ')", "0"},
                             {"tsql_like('50% off', '50!% %', '!')", "1"},
                             {"tsql_like('50 off', '50!%%', '!')", "0"},
                             {"tsql_like('a_b', 'a[_]b')", "1"},
                             {"tsql_like('axb', 'a[_]b')", "0"},
                             {"tsql_like('', '%')", "1"},
                             {"tsql_like('ab', 'a%b%c')", "0"},
                             {"tsql_like('a[b', 'a[b')", "1"},
                             {"tsql_like(NULL, '%')", "NULL"},
                             {"tsql_like('a', 'a', 'xy')", nullptr, 506},
                         });
}

}  // namespace twk::embedded::test
