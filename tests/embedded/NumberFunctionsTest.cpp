// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlNumberFunctions, DoTheServersArithmetic) {
  FunctionConnection connection;
  CheckCases(connection,
             {
                 {"tsql_div(7, 2)", "3"},
                 {"tsql_div(-7, 2)", "-3"},
                 {"tsql_div(7.0, 2)", "3.5"},
                 {"tsql_div(1, 0)", nullptr, 8134},
                 {"tsql_div(1.5, 0.0)", nullptr, 8134},
                 {"tsql_div(NULL, 0)", "NULL"},
                 {"tsql_mod(-7, 3)", "-1"},
                 {"tsql_mod(7.5, 2)", "1.5"},
                 {"tsql_mod(7, 0)", nullptr, 8134},
                 {"tsql_round(2.5, 0)", "3"},
                 {"tsql_round(-2.5, 0)", "-3"},
                 {"tsql_round(1.005, 2)", "1.01"},
                 {"tsql_round(125, -1)", "130"},
                 {"tsql_round(748.58, -2)", "700"},
                 {"tsql_round(748.58, -4)", "0"},
                 {"tsql_round(-1.789, 1, 1)", "-1.7"},
                 {"tsql_round(12.5, NULL)", "NULL"},
                 {"tsql_ceiling(-1.5)", "-1"},
                 {"tsql_floor(-1.5)", "-2"},
                 {"typeof(tsql_floor(7))", "integer"},
                 {"tsql_power(2, 10)", "1024"},
                 {"tsql_power(2, -1)", "0"},
                 {"tsql_power(2.0, -1)", "0.5"},
                 {"tsql_power(-8.0, 0.5)", nullptr, 3623},
                 {"tsql_sign(-4.2)", "-1"},
                 {"typeof(tsql_sign(-4.2))", "real"},
                 {"tsql_sqrt(16)", "4"},
                 {"tsql_sqrt(-1)", nullptr, 3623},
                 {"tsql_abs(-9223372036854775807 - 1)", nullptr, 8115},
                 {"tsql_abs(-3)", "3"},
                 {"tsql_acos(2)", nullptr, 3623},
                 {"tsql_log(0)", nullptr, 3623},
                 {"tsql_log(8, 1)", nullptr, 3623},
                 {"tsql_log(100, 10)", "2"},
                 {"tsql_degrees(1)", "57"},
                 {"tsql_radians(180.0)", "3.14159265358979"},
                 {"tsql_rand(5) = tsql_rand(5)", "1"},
                 {"(select tsql_var(column1) from (values (1), (2), (4)))", "2.33333333333333"},
                 {"(select tsql_stdev(column1) from (values (5)))", "NULL"},
                 {"(select tsql_varp(column1) from (values (5), (NULL)))", "0"},
             });
}

}  // namespace twk::embedded::test
