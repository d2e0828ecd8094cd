// SPDX-License-Identifier: MIT
// The checker that the server scripts are held to: each case is a script
// that SQL Server or sqlcmd would reject or run differently than it reads.

#include <gtest/gtest.h>

#include "TsqlScriptCheck.h"

namespace twk::test {
namespace {

const std::string sOptions = "set ansi_nulls on\nset quoted_identifier on\ngo\n";

struct BrokenScript {
  const char* sScript;
  int iLine;           // where the fault must be reported
  const char* sWords;  // what its description must say
};

void ExpectOneFault(const BrokenScript& broken) {
  const std::vector<ScriptFault> faults = CheckScript(broken.sScript);
  ASSERT_EQ(faults.size(), 1u) << broken.sScript << "\n" << Describe(faults);
  EXPECT_EQ(faults[0].iLine, broken.iLine) << broken.sScript;
  EXPECT_NE(faults[0].sWhat.find(broken.sWords), std::string::npos) << broken.sScript << "\n"
                                                                    << Describe(faults);
}

TEST(TsqlScriptCheck, DelimitersInsideStringsNamesAndCommentsCountForNothing) {
  const std::string sScript =
      "select 'it''s (begin', N'end)', \"a \"\" (name\", [x]] begin]\n"
      "/* case ( /* nested end */ still ( a comment */\n"
      "-- begin ( '\n"
      "select 1 -- end )\n"
      "go\n";
  EXPECT_EQ(Describe(CheckScript(sScript)), "");
}

TEST(TsqlScriptCheck, AnUnclosedStringNameOrCommentIsReportedWhereItOpens) {
  for (const BrokenScript& broken : {
           BrokenScript{"select 1\nselect 'it''s\n", 2, "string opened here is never closed"},
           BrokenScript{"select [a]]b\n", 1, "bracketed name"},
           BrokenScript{"select \"a\n", 1, "quoted name"},
           BrokenScript{"/* a /* nested */ comment\nselect 1\n", 1, "comment"},
       })
    ExpectOneFault(broken);
}

TEST(TsqlScriptCheck, LinesAreReadAsSqlcmdReadsThem) {
  ExpectOneFault({"select 'first\ngo\nselect 1\n", 1, "still open at the GO on line 2"});
  ExpectOneFault({"select 1 go\n", 1, "GO must stand alone"});
  ExpectOneFault({"select 1\nprint N'costs $(price)'\n", 2, "scripting variable"});
  EXPECT_EQ(Describe(CheckScript("select 1\n  GO  \nselect 2\ngo 2\n")), "");
}

TEST(TsqlScriptCheck, ParenthesesAndBlocksMustCloseWithinTheirBatch) {
  for (const BrokenScript& broken : {
           BrokenScript{"select (1\ngo\nselect 2\n", 1, "( without a )"},
           BrokenScript{"select 1\nselect 2)\n", 2, ") without a ("},
           BrokenScript{"if 1 = 1\nbegin\n  select 1\ngo\nselect 2\n", 2, "begin without an end"},
           BrokenScript{"select 1\nend\n", 2, "end without a begin"},
           BrokenScript{"select case when 1 = 1 then 2\n", 1, "case without an end"},
       })
    ExpectOneFault(broken);
}

TEST(TsqlScriptCheck, TransactionsTryCatchAndCaseBalanceAsTheServerReadsThem) {
  const std::string sScript =
      "begin transaction\n"
      "begin try\n"
      "  update t set a = case when b = 1 then 2 else 3 end\n"
      "end try\n"
      "begin catch\n"
      "  if @@trancount > 0 begin rollback transaction end\n"
      "end catch\n"
      "begin tran commit tran\n"
      "go\n";
  EXPECT_EQ(Describe(CheckScript(sScript)), "");
}

TEST(TsqlScriptCheck, AProcedureMustStartItsBatch) {
  ExpectOneFault({(sOptions + "select 1\ncreate procedure p as select 1\ngo\n").c_str(), 5,
                  "create procedure must be the first statement of its batch"});
  ExpectOneFault({(sOptions + "print 1\nalter view v as select 1\n").c_str(), 5,
                  "alter view must be the first"});
  // Inside a string it is dynamic SQL, a batch of its own.
  EXPECT_EQ(
      Describe(CheckScript(sOptions + "if 1 = 1 exec (N'create procedure p as return 0')\ngo\n" +
                           "create or alter procedure p as select 1\ngo\n")),
      "");
}

TEST(TsqlScriptCheck, AProcedureNeedsAnsiNullsAndQuotedIdentifierSetBeforeIt) {
  ExpectOneFault({"create procedure p as select 1\n", 1,
                  "without set ansi_nulls on and set quoted_identifier on"});
  ExpectOneFault({"set ansi_nulls on\ngo\nalter procedure p as select 1\n", 3,
                  "without set quoted_identifier on"});
  ExpectOneFault({(sOptions + "set quoted_identifier off\ngo\ncreate function f() returns int "
                              "as begin return 1 end\n")
                      .c_str(),
                  6, "the function is created without set quoted_identifier on"});
  // Set inside the body is part of the procedure, not of the session.
  const std::vector<ScriptFault> faults = CheckScript(
      "create procedure p as\nset ansi_nulls on\nset quoted_identifier on\ngo\n"
      "create procedure q as select 1\n");
  ASSERT_EQ(faults.size(), 2u) << Describe(faults);
  EXPECT_EQ(faults[1].iLine, 5);
  EXPECT_EQ(Describe(CheckScript("set ansi_nulls, quoted_identifier on\ngo\n"
                                 "create procedure p as select 1\n")),
            "");
}

}  // namespace
}  // namespace twk::test
