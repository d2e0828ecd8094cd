// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlFormat, WritesDatesAndNumbersWithDotNetPatterns) {
  FunctionConnection connection;
  const char* sDate = "'2014-03-05 14:07:09.120', 'datetime'";
  const std::vector<std::pair<const char*, const char*>> datePatterns = {
      {"yyyy-MM-dd", "2014-03-05"},      {"dd/MM/yyyy", "05/03/2014"},
      {"MMMM d, yyyy", "March 5, 2014"}, {"d", "3/5/2014"},
      {"D", "Wednesday, March 5, 2014"}, {"t", "2:07 PM"},
      {"G", "3/5/2014 2:07:09 PM"},      {"MMM dd yy HH:mm:ss.fff", "Mar 05 14 14:07:09.120"},
      {"ddd h:mm tt", "Wed 2:07 PM"},    {"'Day' d", "Day 5"},
      {"s", "2014-03-05T14:07:09"},      {"Q", nullptr}};
  std::vector<QByteArray> expressions;
  std::vector<FunctionCase> cases;
  for (const auto& [sPattern, sExpected] : datePatterns) {
    expressions.push_back(QByteArray("tsql_format(") + sDate + ", '" +
                          QByteArray(sPattern).replace("'", "''") + "')");
  }
  for (std::size_t i = 0; i < datePatterns.size(); ++i) {
    cases.push_back(
        {expressions[i].constData(), datePatterns[i].second ? datePatterns[i].second : "NULL"});
  }
  CheckCases(connection, cases);
  CheckCases(connection, {
                             {"tsql_format(1234567.891, 'float', 'N2')", "1,234,567.89"},
                             {"tsql_format(-1234.5, 'decimal(10,2)', 'N')", "-1,234.50"},
                             {"tsql_format(2400, 'money', 'C')", "$2,400.00"},
                             {"tsql_format(-5, 'int', 'C')", "($5.00)"},
                             {"tsql_format(0.1234, 'float', 'P')", "12.34 %"},
                             {"tsql_format(0.5, 'float', 'P0')", "50 %"},
                             {"tsql_format(1234.5, 'float', '#,##0.00')", "1,234.50"},
                             {"tsql_format(0.25, 'float', '#,##0.00')", "0.25"},
                             {"tsql_format(3.14159, 'float', '0.0')", "3.1"},
                             {"tsql_format(2.25, 'float', '0.0')", "2.3"},
                             {"tsql_format(7, 'int', '000')", "007"},
                             {"tsql_format(42, 'int', 'D5')", "00042"},
                             {"tsql_format(255, 'int', 'X')", "FF"},
                             {"tsql_format(1.5, 'float', 'D')", "NULL"},
                             {"tsql_format(-3, 'int', '0;(0)')", "(3)"},
                             {"tsql_format(5, 'int', 'N2', 'en-US')", "5.00"},
                             {"tsql_format(5, 'int', 'N2', 'de-DE')", "NULL"},
                             {"tsql_format(NULL, 'int', 'N2')", "NULL"},
                             {"tsql_format('abc', 'varchar(10)', 'N2')", nullptr, 8116},
                         });
}

TEST(TsqlStringAgg, JoinsTheValuesThatAreNotNull) {
  FunctionConnection connection;
  connection.Run(
      "create table t(g int, v text); insert into t values (1, 'a'), (1, NULL), (1, 'b'),"
      " (2, NULL), (3, 'c');");
  CheckCases(
      connection,
      {
          {"tsql_string_agg(v, ', ') from (select v from t where g = 1 order by rowid)", "a, b"},
          {"tsql_string_agg(v, ', ') from t where g = 2", "NULL"},
          {"tsql_string_agg(v, ';') from t where g = 3", "c"},
          {"group_concat(s, '|') from (select tsql_string_agg(v, '+') s from t group by g order by "
           "g)",
           "a+b|c"},
      });
}

}  // namespace twk::embedded::test
