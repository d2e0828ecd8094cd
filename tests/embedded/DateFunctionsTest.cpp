// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlDateFunctions, AddAndCountPartsAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(
      connection,
      {
          {"tsql_dateadd('month', 1, '2014-01-31', 'date')", "2014-02-28"},
          {"tsql_dateadd('mm', 1, '2016-01-31 10:00:00.000', 'datetime')",
           "2016-02-29 10:00:00.000"},
          {"tsql_dateadd('yy', 1, '2016-02-29', 'date')", "2017-02-28"},
          {"tsql_dateadd('q', -1, '2014-05-31', 'date')", "2014-02-28"},
          {"tsql_dateadd('dd', 1.9, '20140101', 'datetime')", "2014-01-02 00:00:00.000"},
          {"tsql_dateadd('wk', 2, '2014-01-01', 'date')", "2014-01-15"},
          {"tsql_dateadd('hh', 25, '2014-01-01 00:00', 'datetime')", "2014-01-02 01:00:00.000"},
          {"tsql_dateadd('n', -1, '2014-01-01 00:00:00.000', 'datetime')",
           "2013-12-31 23:59:00.000"},
          {"tsql_dateadd('ms', 2, '2014-01-01 00:00:00.000', 'datetime')",
           "2014-01-01 00:00:00.003"},
          {"tsql_dateadd('hour', 1, '2014-01-01', 'date')", nullptr, 9810},
          {"tsql_dateadd('year', 9000, '2014-01-01', 'datetime')", nullptr, 517},
          {"tsql_dateadd('fortnight', 1, '2014-01-01', 'date')", nullptr, 155},
          {"tsql_dateadd('day', NULL, '2014-01-01', 'date')", "NULL"},
          {"tsql_datediff('year', '2013-12-31', '2014-01-01')", "1"},
          {"tsql_datediff('day', 'Jan 5 2014', '2014-01-07T08:00:00')", "2"},
          {"tsql_datediff('yyyy', '2014-01-01', '2014-12-31')", "0"},
          {"tsql_datediff('qq', '2014-03-31', '2014-04-01')", "1"},
          {"tsql_datediff('m', '2014-01-31', '2014-02-01')", "1"},
          {"tsql_datediff('dy', '2014-01-01 23:59', '2014-01-02 00:01')", "1"},
          {"tsql_datediff('d', '2014-01-02', '2014-01-01')", "-1"},
          {"tsql_datediff('wk', '2014-01-04', '2014-01-05')", "1"},
          {"tsql_datediff('ww', '2014-01-05', '2014-01-11')", "0"},
          {"tsql_datediff('hh', '2014-01-01 10:59', '2014-01-01 11:01')", "1"},
          {"tsql_datediff('hour', '2014-01-01 10:01', '2014-01-01 10:59')", "0"},
          {"tsql_datediff('mi', '2014-01-01 10:00:59', '2014-01-01 10:01:00')", "1"},
          {"tsql_datediff('ss', '2014-01-01 10:00:00.900', '2014-01-01 10:00:01.100')", "1"},
          {"tsql_datediff('ms', '2014-01-01 10:00:00.000', '2014-01-01 10:00:01.100')", "1100"},
          {"tsql_datediff('ms', '1900-01-01', '2014-01-01')", nullptr, 535},
          {"tsql_datediff_big('ms', '1900-01-01', '2014-01-01')", "3597523200000"},
          {"tsql_datetimefromparts(2024, 2, 29, 13, 14, 15, 998)", "2024-02-29 13:14:15.997"},
          {"tsql_datetimefromparts(2023, 2, 29, 0, 0, 0, 0)", nullptr, 289},
          {"tsql_datetimefromparts(9999, 12, 31, 23, 59, 59, 999)", nullptr, 289},
          {"tsql_isdate('02/29/2024') || tsql_isdate('20230229') || tsql_isdate('1700-01-01')",
           "100"},
          {"tsql_datediff('day', 'junk', '2014-01-01')", nullptr, 241},
          {"tsql_dateadd('month', tsql_datediff('month', 0, '2014-03-05'), 0, 'datetime')",
           "2014-03-01 00:00:00.000"},
      });
}

TEST(TsqlDateFunctions, NameAndSplitDates) {
  FunctionConnection connection;
  CheckCases(
      connection,
      {
          {"tsql_datepart('yy', '2014-05-06 07:08:09.123')", "2014"},
          {"tsql_datepart('q', '2014-05-06')", "2"},
          {"tsql_datepart('m', '2014-05-06')", "5"},
          {"tsql_datepart('y', '2014-05-06')", "126"},
          {"tsql_datepart('d', '2014-05-06')", "6"},
          {"tsql_datepart('wk', '2014-01-05')", "2"},
          {"tsql_datepart('wk', '2014-01-04')", "1"},
          {"tsql_datepart('dw', '2014-01-05')", "1"},
          {"tsql_datepart('w', '2014-01-04')", "7"},
          {"tsql_datepart('hh', '2014-05-06 07:08:09.123')", "7"},
          {"tsql_datepart('n', '2014-05-06 07:08:09.123')", "8"},
          {"tsql_datepart('s', '2014-05-06 07:08:09.123')", "9"},
          {"tsql_datepart('ms', '2014-05-06 07:08:09.123')", "123"},
          {"tsql_datepart('isowk', '2016-01-01')", "53"},
          {"tsql_datename('month', '2014-05-06')", "May"},
          {"tsql_datename('dw', '2014-05-06')", "Tuesday"},
          {"tsql_datename('yyyy', '2014-05-06')", "2014"},
          {"tsql_eomonth('2016-02-10')", "2016-02-29"},
          {"tsql_eomonth('2014-01-31 10:00:00.000', 1)", "2014-02-28"},
          {"tsql_eomonth('2014-03-15', -3)", "2013-12-31"},
          {"tsql_datefromparts(2014, 2, 28)", "2014-02-28"},
          {"tsql_datefromparts(2014, 2, 29)", nullptr, 289},
          {"tsql_datefromparts(2014, NULL, 1)", "NULL"},
          {"length(tsql_getdate())", "23"},
          {"tsql_datediff('hh', tsql_getutcdate(), tsql_getdate()) between -14 and 14", "1"},
          {"length(tsql_sysdatetime())", "27"},
          {"abs(tsql_datediff('s', tsql_getdate(), datetime('now', 'localtime'))) <= 2", "1"},
          {"abs(tsql_datediff('s', tsql_getutcdate(), datetime('now'))) <= 2", "1"},
      });
}

}  // namespace twk::embedded::test
