// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlConvert, WritesNumbersAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(connection,
             {
                 {"tsql_convert(75.0, 'decimal(12,2)', 'varchar(30)')", "75.00"},
                 {"tsql_convert(-0.001, 'decimal(12,2)', 'varchar(30)')", "0.00"},
                 {"tsql_convert(2400.0, 'money', 'varchar(30)', 1)", "2,400.00"},
                 {"tsql_convert(1234567.891, 'money', 'varchar(30)', 1)", "1,234,567.89"},
                 {"tsql_convert(2400.125, 'money', 'varchar(30)')", "2400.13"},
                 {"tsql_convert(2400.125, 'money', 'varchar(30)', 2)", "2400.1250"},
                 {"tsql_convert(1234567.0, 'float', 'varchar(30)')", "1.23457e+006"},
                 {"tsql_convert(123456.0, 'float', 'varchar(30)')", "123456"},
                 {"tsql_convert(0.1, 'float', 'varchar(30)', 1)", "1.0000000e-001"},
                 {"tsql_convert(0.1, 'float', 'varchar(30)', 2)", "1.000000000000000e-001"},
                 {"tsql_convert(123, 'int', 'varchar(2)')", "*"},
                 {"tsql_convert(123, 'int', 'nvarchar(2)')", nullptr, 8115},
                 {"tsql_convert(12.5, 'decimal(4,1)', 'varchar(2)')", nullptr, 8115},
                 {"tsql_convert('abcdef', 'varchar(6)', 'varchar(3)')", "abc"},
                 {"tsql_convert('ab', 'varchar(6)', 'char(4)') || '|'", "ab  |"},
                 {"tsql_convert(NULL, 'int', 'varchar(30)')", "NULL"},
             });
}

TEST(TsqlConvert, ReadsNumbersAndFailsAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(connection,
             {
                 {"tsql_convert(' 42 ', 'varchar(10)', 'int')", "42"},
                 {"tsql_convert('12.5', 'varchar(10)', 'int')", nullptr, 245},
                 {"tsql_convert('99999999999', 'varchar(20)', 'int')", nullptr, 248},
                 {"tsql_convert(3000000000, 'bigint', 'int')", nullptr, 8115},
                 {"tsql_convert(300, 'int', 'tinyint')", nullptr, 220},
                 {"tsql_convert(1e10, 'float', 'int')", nullptr, 232},
                 {"tsql_convert(-12.9, 'decimal(5,1)', 'int')", "-12"},
                 {"tsql_convert(2.5, 'money', 'int')", "3"},
                 {"tsql_convert('1.255', 'varchar(10)', 'decimal(5,2)')", "1.26"},
                 {"tsql_convert(1.005, 'float', 'decimal(5,2)')", "1.01"},
                 {"tsql_convert(-2.5, 'float', 'decimal(5,0)')", "-3"},
                 {"tsql_convert(1000.0, 'float', 'decimal(5,2)')", nullptr, 8115},
                 {"tsql_convert('1e2', 'varchar(10)', 'decimal(5,2)')", nullptr, 8114},
                 {"tsql_convert('1e2', 'varchar(10)', 'float')", "100"},
                 {"tsql_convert('abc', 'varchar(10)', 'float')", nullptr, 8114},
                 {"tsql_convert('$1,234.5', 'varchar(10)', 'money')", "1234.5"},
                 {"tsql_convert('12x', 'varchar(10)', 'money')", nullptr, 235},
                 {"tsql_convert('true', 'varchar(10)', 'bit')", "1"},
                 {"tsql_convert('False', 'varchar(10)', 'bit')", "0"},
                 {"tsql_convert('7', 'varchar(10)', 'bit')", "1"},
                 {"tsql_convert('yes', 'varchar(10)', 'bit')", nullptr, 245},
                 {"tsql_try_convert('12.5', 'varchar(10)', 'int')", "NULL"},
                 {"tsql_try_convert('12', 'varchar(10)', 'int')", "12"},
                 {"tsql_try_convert(5, 'int', 'date')", nullptr, 529},
                 {"tsql_convert('6f9619ff-8b86-d011-b42d-00c04fc964ff', 'varchar(40)', "
                  "'uniqueidentifier')",
                  "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
                 {"tsql_convert('x', 'varchar(40)', 'uniqueidentifier')", nullptr, 8169},
                 {"tsql_convert(1, 'int', 'nosuchtype')", nullptr, 243},
             });
}

TEST(TsqlConvert, ReadsDatesInTheServersForms) {
  FunctionConnection connection;
  CheckCases(
      connection,
      {
          {"tsql_convert('20140101', 'varchar(10)', 'date')", "2014-01-01"},
          {"tsql_convert('2014-01-31', 'varchar(10)', 'datetime')", "2014-01-31 00:00:00.000"},
          {"tsql_convert('1/2/2014', 'varchar(10)', 'date')", "2014-01-02"},
          {"tsql_convert('1/2/2014', 'varchar(10)', 'date', 103)", "2014-02-01"},
          {"tsql_convert('12-31-49', 'varchar(10)', 'date')", "2049-12-31"},
          {"tsql_convert('12.31.50', 'varchar(10)', 'date')", "1950-12-31"},
          {"tsql_convert('Jan 5 2014 3:07PM', 'varchar(30)', 'datetime')",
           "2014-01-05 15:07:00.000"},
          {"tsql_convert('5 March 2014', 'varchar(30)', 'date')", "2014-03-05"},
          {"tsql_convert('March 5, 2014', 'varchar(30)', 'date')", "2014-03-05"},
          {"tsql_convert('2014-01-01 10:20:30.123', 'varchar(30)', 'datetime')",
           "2014-01-01 10:20:30.123"},
          {"tsql_convert('2014-01-01T10:20:30.002', 'varchar(30)', 'datetime')",
           "2014-01-01 10:20:30.003"},
          {"tsql_convert('2014-01-01 10:20:30.005', 'varchar(30)', 'datetime')",
           "2014-01-01 10:20:30.007"},
          {"tsql_convert('2014-01-01 23:59:59.999', 'varchar(30)', 'datetime')",
           "2014-01-02 00:00:00.000"},
          {"tsql_convert('2014-01-01 10:20:30', 'varchar(30)', 'smalldatetime')",
           "2014-01-01 10:21:00.000"},
          {"tsql_convert('2014-01-01 10:20:30.1234567', 'varchar(30)', 'datetime2')",
           "2014-01-01 10:20:30.1234567"},
          {"tsql_convert('10:20', 'varchar(30)', 'time')", "10:20:00.0000000"},
          {"tsql_convert('10:20', 'varchar(30)', 'datetime')", "1900-01-01 10:20:00.000"},
          {"tsql_convert('', 'varchar(30)', 'datetime')", "1900-01-01 00:00:00.000"},
          {"tsql_convert('2014-02-30', 'varchar(30)', 'datetime')", nullptr, 242},
          {"tsql_convert('2014-02-30', 'varchar(30)', 'date')", nullptr, 241},
          {"tsql_convert('not a date', 'varchar(30)', 'date')", nullptr, 241},
          {"tsql_convert('1700-01-01', 'varchar(30)', 'datetime')", nullptr, 242},
          {"tsql_try_convert('13/13/2014', 'varchar(30)', 'date')", "NULL"},
          {"tsql_convert('2014-01-01 18:00:00.000', 'datetime', 'int')", "41639"},
          {"tsql_convert(1.5, 'float', 'datetime')", "1900-01-02 12:00:00.000"},
          {"tsql_convert('2014-01-01 10:00:00.000', 'datetime', 'date')", "2014-01-01"},
          {"tsql_convert('10:00:00.0000000', 'time', 'date')", nullptr, 529},
      });
}

TEST(TsqlConvert, WritesDatesInEveryDocumentedStyle) {
  FunctionConnection connection;
  connection.Run("create table d(v text); insert into d values ('2014-01-05 13:04:09.007')");
  const char* sValue = "(select v from d), 'datetime', 'varchar(40)'";
  const std::vector<std::pair<int, const char*>> styles = {{-1, "Jan  5 2014  1:04PM"},
                                                           {0, "Jan  5 2014  1:04PM"},
                                                           {1, "01/05/14"},
                                                           {101, "01/05/2014"},
                                                           {2, "14.01.05"},
                                                           {102, "2014.01.05"},
                                                           {3, "05/01/14"},
                                                           {103, "05/01/2014"},
                                                           {4, "05.01.14"},
                                                           {104, "05.01.2014"},
                                                           {5, "05-01-14"},
                                                           {105, "05-01-2014"},
                                                           {6, "05 Jan 14"},
                                                           {106, "05 Jan 2014"},
                                                           {7, "Jan 05, 14"},
                                                           {107, "Jan 05, 2014"},
                                                           {8, "13:04:09"},
                                                           {108, "13:04:09"},
                                                           {9, "Jan  5 2014  1:04:09:007PM"},
                                                           {109, "Jan  5 2014  1:04:09:007PM"},
                                                           {10, "01-05-14"},
                                                           {110, "01-05-2014"},
                                                           {11, "14/01/05"},
                                                           {111, "2014/01/05"},
                                                           {12, "140105"},
                                                           {112, "20140105"},
                                                           {13, "05 Jan 2014 13:04:09:007"},
                                                           {113, "05 Jan 2014 13:04:09:007"},
                                                           {14, "13:04:09:007"},
                                                           {114, "13:04:09:007"},
                                                           {20, "2014-01-05 13:04:09"},
                                                           {120, "2014-01-05 13:04:09"},
                                                           {21, "2014-01-05 13:04:09.007"},
                                                           {121, "2014-01-05 13:04:09.007"},
                                                           {22, "01/05/14  1:04:09 PM"},
                                                           {23, "2014-01-05"},
                                                           {24, "13:04:09"},
                                                           {25, "2014-01-05 13:04:09.007"},
                                                           {126, "2014-01-05T13:04:09.007"},
                                                           {127, "2014-01-05T13:04:09.007"},
                                                           {131, "04/03/1435  1:04:09:007PM"},
                                                           {15, nullptr},
                                                           {122, nullptr}};
  std::vector<FunctionCase> cases;
  std::vector<QByteArray> expressions;
  for (const auto& [iStyle, sExpected] : styles) {
    expressions.push_back(iStyle < 0 ? QByteArray("tsql_convert(") + sValue + ")"
                                     : QByteArray("tsql_convert(") + sValue + ", " +
                                           QByteArray::number(iStyle) + ")");
  }
  for (std::size_t i = 0; i < styles.size(); ++i) {
    cases.push_back({expressions[i].constData(), styles[i].second, styles[i].second ? 0 : 281});
  }
  CheckCases(connection, cases);
  CheckCases(connection,
             {
                 {"tsql_convert('2014-01-01', 'date', 'varchar(30)')", "2014-01-01"},
                 {"tsql_convert('2014-01-01 00:00:00.000', 'datetime', 'varchar(30)')",
                  "Jan  1 2014 12:00AM"},
                 {"tsql_convert('2014-01-01 00:00:00.000', 'datetime', 'varchar(30)', 126)",
                  "2014-01-01T00:00:00"},
                 {"tsql_convert('2014-01-01 08:00:00.1200000', 'datetime2(2)', 'varchar(30)')",
                  "2014-01-01 08:00:00.12"},
                 {"tsql_convert('2014-01-01', 'date', 'varchar(6)', 106)", "01 Jan"},
                 {"tsql_convert('2014-01-01', 'date', 'char(12)', 101) || '|'", "01/01/2014  |"},
                 {"tsql_convert('Jan 5 2014', 'datetime', 'varchar(30)', 101)", "01/05/2014"},
                 {"tsql_convert('2014-01-05 13:04:09.1234567', 'datetime2', 'varchar(40)', 121)",
                  "2014-01-05 13:04:09.1234567"},
                 {"tsql_convert('13:04:09.1230000', 'time(3)', 'nvarchar(20)')", "13:04:09.123"},
             });
}

}  // namespace twk::embedded::test
