// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "FunctionCases.h"
#include "SqlType.h"

namespace twk::tsql {

TEST(SqlType, ParseReadsTheServersSpellingsAndNameWritesThemBack) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"VARCHAR ( 10 )", "varchar(10)"},
      {"[nvarchar](max)", "nvarchar(max)"},
      {"varchar", "varchar(1)"},
      {"numeric", "decimal(18,0)"},
      {"dec(12, 2)", "decimal(12,2)"},
      {"national character varying(20)", "nvarchar(20)"},
      {"double precision", "float"},
      {"float(24)", "real"},
      {"integer", "int"},
      {"datetime2", "datetime2"},
      {"datetime2(3)", "datetime2(3)"},
      {"time(0)", "time(0)"},
      {"char(max)", nullptr},
      {"varchar(8001)", nullptr},
      {"nvarchar(4001)", nullptr},
      {"decimal(39,2)", nullptr},
      {"decimal(5,6)", nullptr},
      {"int(4)", nullptr},
      {"datetime2(8)", nullptr},
      {"text2", nullptr},
  };
  for (const auto& [sName, sExpected] : cases) {
    const std::optional<SqlType> type = SqlType::Parse(QString::fromUtf8(sName));
    EXPECT_EQ(type ? type->Name() : QStringLiteral("none"),
              sExpected ? QString::fromUtf8(sExpected) : QStringLiteral("none"))
        << sName;
  }
}

TEST(SqlType, CommonFollowsTheServersPrecedence) {
  const std::vector<std::tuple<const char*, const char*, const char*>> cases = {
      {"int", "varchar(10)", "int"},
      {"int", "bigint", "bigint"},
      {"int", "decimal(5,2)", "decimal(12,2)"},
      {"decimal(10,4)", "decimal(12,1)", "decimal(15,4)"},
      {"money", "decimal(5,2)", "decimal(19,4)"},
      {"decimal(5,2)", "float", "float"},
      {"varchar(5)", "varchar(12)", "varchar(12)"},
      {"varchar(5)", "nvarchar(2)", "nvarchar(2)"},
      {"varchar(max)", "varchar(12)", "varchar(max)"},
      {"date", "datetime", "datetime"},
      {"varchar(10)", "date", "date"},
  };
  for (const auto& [sA, sB, sExpected] : cases) {
    const SqlType common = SqlType::Common(*SqlType::Parse(QString::fromUtf8(sA)),
                                           *SqlType::Parse(QString::fromUtf8(sB)));
    EXPECT_EQ(common.Name(), QString::fromUtf8(sExpected)) << sA << " and " << sB;
  }
}

}  // namespace twk::tsql
