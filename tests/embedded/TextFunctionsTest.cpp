// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"

namespace twk::embedded::test {

TEST(TsqlTextFunctions, CutAndReshapeTextAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(connection, {
                             {"tsql_left('Evanston', 4)", "Evan"},
                             {"tsql_left('Evanston', 40)", "Evanston"},
                             {"tsql_left('Evanston', -1)", nullptr, 536},
                             {"tsql_right('Evanston', 3)", "ton"},
                             {"tsql_substring('Evanston', 2, 3)", "van"},
                             {"tsql_substring('Evanston', 0, 3)", "Ev"},
                             {"tsql_substring('Evanston', -3, 5)", "E"},
                             {"tsql_substring('Evanston', 20, 5)", ""},
                             {"tsql_substring('Evanston', 1, -1)", nullptr, 536},
                             {"tsql_len('abc   ')", "3"},
                             {"tsql_len('  abc')", "5"},
                             {"tsql_len(12345)", "5"},
                             {"tsql_len(NULL)", "NULL"},
                             {"tsql_datalength('abc ', 'varchar(10)')", "4"},
                             {"tsql_datalength('abc', 'nvarchar(10)')", "6"},
                             {"tsql_datalength(5, 'int')", "4"},
                             {"tsql_datalength(5.5, 'decimal(12,2)')", "9"},
                             {"tsql_datalength('2014-01-01', 'date')", "3"},
                             {"tsql_datalength(NULL, 'int')", "NULL"},
                             {"tsql_stuff('abcdef', 2, 3, 'XY')", "aXYef"},
                             {"tsql_stuff('abcdef', 5, 30, 'X')", "abcdX"},
                             {"tsql_stuff('abcdef', 7, 1, 'X')", "NULL"},
                             {"tsql_stuff('abcdef', 0, 1, 'X')", "NULL"},
                             {"tsql_stuff(',a,b', 1, 1, NULL)", "a,b"},
                             {"tsql_replicate('ab', 3)", "ababab"},
                             {"tsql_replicate('ab', -1)", "NULL"},
                             {"tsql_reverse('abc')", "cba"},
                             {"'[' || tsql_space(3) || ']'", "[   ]"},
                             {"tsql_ltrim('  a b  ') || '|'", "a b  |"},
                             {"tsql_rtrim('  a b  ') || '|'", "  a b|"},
                             {"tsql_rtrim('a\t') || '|'", "a\t|"},
                             {"tsql_trim('  a  ') || '|'", "a|"},
                             {"tsql_trim('xxaXx', 'x')", "a"},
                             {"tsql_upper('straße é')", "STRAßE É"},
                             {"tsql_translate('2*[3+4]', '[]', '()')", "2*(3+4)"},
                             {"tsql_translate('ABC', 'ab', 'xy')", "xyC"},
                             {"tsql_translate('a', 'ab', 'c')", nullptr, 9828},
                             {"tsql_lower('ÉVANSTON')", "évanston"},
                         });
}

TEST(TsqlTextFunctions, SearchUnderTheCollation) {
  FunctionConnection connection;
  CheckCases(connection,
             {
                 {"tsql_charindex('BOARD', 'Member of the board')", "15"},
                 {"tsql_charindex('o', 'foo', 3)", "3"},
                 {"tsql_charindex('o', 'foo', 4)", "0"},
                 {"tsql_charindex('', 'foo')", "0"},
                 {"tsql_charindex('x', NULL)", "NULL"},
                 {"tsql_replace('Board and BOARD', 'board', 'Council')", "Council and Council"},
                 {"tsql_replace('aaa', 'aa', 'b')", "ba"},
                 {"tsql_replace('abc', '', 'x')", "abc"},
                 {"tsql_patindex('%[0-9]%', 'Suite 4B')", "7"},
                 {"tsql_patindex('%B%', 'Suite 4b')", "8"},
                 {"tsql_patindex('S%', 'Suite')", "1"},
                 {"tsql_patindex('x%', 'Suite')", "0"},
             });
}

TEST(TsqlCharacterFunctions, ConvertJoinAndQuoteAsTheServerDoes) {
  FunctionConnection connection;
  CheckCases(connection, {
                             {"tsql_ascii('A')", "65"},
                             {"tsql_ascii('€')", "128"},
                             {"tsql_ascii('')", "NULL"},
                             {"tsql_char(65)", "A"},
                             {"tsql_char(128)", "€"},
                             {"tsql_char(256)", "NULL"},
                             {"tsql_nchar(8364)", "€"},
                             {"tsql_unicode('€uro')", "8364"},
                             {"tsql_concat('a', NULL, 1, 'b')", "a1b"},
                             {"tsql_concat('a')", nullptr, 189},
                             {"tsql_concat_ws(', ', 'a', NULL, 'b')", "a, b"},
                             {"tsql_quotename('my table')", "[my table]"},
                             {"tsql_quotename('a]b')", "[a]]b]"},
                             {"tsql_quotename('it''s', '''')", "'it''s'"},
                             {"tsql_quotename('a', '}')", "{a}"},
                             {"tsql_quotename('a', 'x')", "NULL"},
                             {"tsql_str(123.456)", "       123"},
                             {"tsql_str(123.456, 8, 2)", "  123.46"},
                             {"tsql_str(123.45, 5, 2)", "123.5"},
                             {"tsql_str(123456, 3)", "***"},
                             {"tsql_str(-2.5)", "        -3"},
                             {"tsql_isnumeric('12.5')", "1"},
                             {"tsql_isnumeric(' $1,000 ')", "1"},
                             {"tsql_isnumeric('1e5')", "1"},
                             {"tsql_isnumeric('-')", "1"},
                             {"tsql_isnumeric('abc')", "0"},
                             {"tsql_isnumeric('')", "0"},
                             {"tsql_isnumeric(NULL)", "0"},
                             {"tsql_isnumeric(4.5)", "1"},
                             {"tsql_check_length('abc   ', 3, '#flags', 'code')", "abc"},
                             {"tsql_check_length('abcd', 3, '#flags', 'code')", nullptr, 2628},
                             {"tsql_check_length(NULL, 3, '#flags', 'code')", "NULL"},
                         });
}

TEST(TsqlFunctions, ErrorsAreWordedAsTheServerWordsThem) {
  FunctionConnection connection;
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"tsql_check_length('Evanston, Illinois', 8, 'dbo.Name', 'CITY')",
       "TSQL 2628: String or binary data would be truncated in table 'dbo.Name', column 'CITY'. "
       "Truncated value: 'Evanston'."},
      {"tsql_convert('12.5', 'varchar(10)', 'int')",
       "TSQL 245: Conversion failed when converting the varchar value '12.5' to data type int."},
      {"tsql_convert(3000000000, 'bigint', 'int')",
       "TSQL 8115: Arithmetic overflow error converting expression to data type int."},
      {"tsql_convert('x', 'varchar(10)', 'date')",
       "TSQL 241: Conversion failed when converting date and/or time from character string."},
      {"tsql_div(1, 0)", "TSQL 8134: Divide by zero error encountered."},
  };
  for (const auto& [sExpression, sMessage] : cases) {
    connection.Evaluate(QStringLiteral("select ") + QString::fromUtf8(sExpression));
    EXPECT_EQ(connection.LastMessage(), QString::fromUtf8(sMessage)) << sExpression;
  }
}

}  // namespace twk::embedded::test
