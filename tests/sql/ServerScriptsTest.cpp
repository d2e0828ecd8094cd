// SPDX-License-Identifier: MIT
// The SQL Server scripts an administrator runs. No SQL Server runs here, so
// they are held to what can be checked by reading them: every batch of every
// script is well formed, and the permissions are the ones the libraries'
// statements need, no more.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "TsqlScriptCheck.h"
#include "TwkVersion.h"

namespace twk::test {
namespace {

const std::filesystem::path serverScripts = std::filesystem::path(TWK_SOURCE_DIR) / "sql/server";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::filesystem::path> ServerScripts() {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(serverScripts))
    if (entry.path().extension() == ".sql") paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(ServerScripts, EveryBatchOfEveryScriptIsWellFormed) {
  const std::vector<std::filesystem::path> paths = ServerScripts();
  ASSERT_GE(paths.size(), 2u) << "no scripts in " << serverScripts;
  for (const std::filesystem::path& path : paths) {
    const std::string sScript = ReadFile(path);
    ASSERT_FALSE(sScript.empty()) << path;
    EXPECT_EQ(Describe(CheckScript(sScript)), "") << path;
  }
}

TEST(ServerScripts, TheTablesScriptFailsTheCheckWhenTheGoBeforeItsProcedureIsLost) {
  std::string sScript = ReadFile(serverScripts / "TWK_Tables.sql");
  const std::size_t iAlter = sScript.find("\nalter procedure dbo.ptwk_WriteSystemParams");
  ASSERT_NE(iAlter, std::string::npos);
  const std::size_t iGo = sScript.rfind("\ngo\n", iAlter);
  ASSERT_NE(iGo, std::string::npos);
  sScript.erase(iGo, 3);
  const std::string sFaults = Describe(CheckScript(sScript));
  EXPECT_NE(sFaults.find("alter procedure must be the first statement"), std::string::npos)
      << sFaults;
}

// One column as the tables script creates it, or as its upgrade step
// expects it: type, width (-1 for max, 0 for none), nullability, default.
using ColumnSpec = std::tuple<std::string, int, bool, std::string>;
using TableSpec = std::map<std::string, std::map<std::string, ColumnSpec>>;

int Width(const std::string& sWidth) {
  if (sWidth.empty() || sWidth == "null") return 0;
  return sWidth == "max" ? -1 : std::stoi(sWidth);
}

TableSpec CreatedColumns(const std::string& sScript) {
  TableSpec tables;
  const std::regex createTable(R"(^\s*create table dbo\.(\w+) \($)");
  const std::regex column(
      R"(^\s{4}(\w+)\s+(\w+)(?:\((\w+)\))?(?: identity\(1, 1\))?\s+(not null|null)(.*)$)");
  const std::regex defaultClause(R"(default (\(.*\)),?$)");
  std::istringstream lines(sScript);
  std::string sTable, sColumn;
  std::smatch match;
  for (std::string sLine; std::getline(lines, sLine);) {
    if (std::regex_match(sLine, match, createTable)) {
      sTable = match[1];
    } else if (sLine == "  )") {
      sTable.clear();
    } else if (!sTable.empty() && std::regex_match(sLine, match, column)) {
      sColumn = match[1];
      tables[sTable][sColumn] = {match[2], Width(match[3]), match[4] == "null", ""};
    }
    if (!sTable.empty() && !sColumn.empty() && std::regex_search(sLine, match, defaultClause))
      std::get<3>(tables[sTable][sColumn]) = match[1];
  }
  return tables;
}

TableSpec UpgradedColumns(const std::string& sScript) {
  TableSpec tables;
  const std::regex row(
      R"(\(N'(\w+)',\s*N'(\w+)',\s*N'(\w+)',\s*(null|-?\d+),\s*([01]),\s*(?:null|N'(.*)')\))");
  std::istringstream lines(sScript);
  std::smatch match;
  for (std::string sLine; std::getline(lines, sLine);) {
    if (!std::regex_search(sLine, match, row)) continue;
    const std::string sDefault = std::regex_replace(std::string(match[6]), std::regex("''"), "'");
    tables[match[1]][match[2]] = {match[3], Width(match[4]), match[5] == "1", sDefault};
  }
  return tables;
}

TEST(ServerScripts, TheUpgradeStepExpectsEveryColumnAsTheTablesAreCreated) {
  // Otherwise every run would alter a fresh table, or leave an old one short.
  const std::string sScript = ReadFile(serverScripts / "TWK_Tables.sql");
  const TableSpec created = CreatedColumns(sScript);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created.at("ttwk_AlertDefinitions").size(), 6u);
  EXPECT_EQ(created.at("ttwk_AlertOutput").size(), 18u);
  EXPECT_EQ(UpgradedColumns(sScript), created);
}

// Permissions as the scripts leave them: principal -> object -> permissions,
// in lower case, a column permission written "update (enabled)".
using Permissions = std::map<std::string, std::map<std::string, std::set<std::string>>>;

// The scripts' comments hold no string delimiters, nor their strings comment marks.
std::string WithoutComments(const std::string& sText) {
  std::string sCode;
  for (std::size_t i = 0; i < sText.size();) {
    if (sText.compare(i, 2, "/*") == 0) {
      const std::size_t iEnd = sText.find("*/", i + 2);
      i = iEnd == std::string::npos ? sText.size() : iEnd + 2;
      sCode += ' ';
    } else if (sText.compare(i, 2, "--") == 0) {
      i = std::min(sText.find('\n', i), sText.size());
    } else {
      sCode += sText[i++];
    }
  }
  return sCode;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

// Applies the grants and revokes of all scripts, in the order they appear,
// to the permissions the database held before.
Permissions PermissionsLeftByTheScripts(Permissions permissions = {}) {
  const std::regex statement(
      R"((grant|revoke)\s+([a-z, ()_]+?)\s+on\s+(dbo\.\w+)\s+(?:to|from)\s+(\w+))",
      std::regex::icase);
  for (const std::filesystem::path& path : ServerScripts()) {
    const std::string sScript = Lower(WithoutComments(ReadFile(path)));
    for (std::sregex_iterator it(sScript.begin(), sScript.end(), statement), end; it != end; ++it) {
      std::set<std::string>& held = permissions[(*it)[4]][(*it)[3]];
      std::string sList = (*it)[2];
      sList = std::regex_replace(sList, std::regex(R"(\s*\(\s*)"), " (");
      std::stringstream list(sList);
      for (std::string sPermission; std::getline(list, sPermission, ',');) {
        sPermission = std::regex_replace(sPermission, std::regex(R"(^\s+|\s+$)"), "");
        if ((*it)[1] == "grant") {
          held.insert(sPermission);
        } else {
          // Taking a permission back from the whole table takes its columns too.
          std::erase_if(held, [&](const std::string& s) { return s.rfind(sPermission, 0) == 0; });
        }
      }
    }
  }
  return permissions;
}

using Set = std::set<std::string>;

TEST(ServerScriptPermissions, EveryLoginHoldsAPermissionOnEachObjectTheStartUpCheckLooksFor) {
  // SQL Server hides an object from a login that holds no permission on it.
  Permissions permissions = PermissionsLeftByTheScripts();
  for (const char* sObject : {"dbo.ttwk_alertdefinitions", "dbo.ttwk_alertoutput",
                              "dbo.ptwk_writesystemparams", "dbo.ptwk_calculate_fixed_text"})
    EXPECT_FALSE(permissions["public"][sObject].empty()) << sObject;
  EXPECT_EQ(permissions["public"]["dbo.ptwk_writesystemparams"], Set{"execute"});
  EXPECT_EQ(permissions["public"]["dbo.ptwk_calculate_fixed_text"], Set{"execute"});
}

void ExpectDefinitionsWrittenOnlyByEditors(Permissions permissions) {
  // A change would let anyone plant SQL that every staff member runs, and
  // ENABLED = 0 switch off every panel's alerts.
  EXPECT_EQ(permissions["public"]["dbo.ttwk_alertdefinitions"], Set{"select"});
  EXPECT_EQ(permissions["twk_editors"]["dbo.ttwk_alertdefinitions"],
            (Set{"select", "insert", "update", "delete"}));
  // Definitions write their alerts; the panel reads and clears its own.
  EXPECT_EQ(permissions["public"]["dbo.ttwk_alertoutput"],
            (Set{"select", "insert", "update", "delete"}));
}

TEST(ServerScriptPermissions, OnlyEditorsMayWriteOrDisableDefinitionsWhilePanelsFillOutput) {
  ExpectDefinitionsWrittenOnlyByEditors(PermissionsLeftByTheScripts());
}

TEST(ServerScriptPermissions, RunningTheScriptsAgainTakesBackWhatEarlierVersionsGaveToPublic) {
  const Set all{"select", "insert", "update", "delete"};
  Permissions earlier;
  earlier["public"]["dbo.ttwk_alertdefinitions"] = {"select", "update", "update (enabled)"};
  earlier["public"]["dbo.ttwk_alertoutput"] = all;
  earlier["public"]["dbo.ptwk_writesystemparams"] = {"execute"};
  earlier["public"]["dbo.ptwk_calculate_fixed_text"] = {"execute"};
  ExpectDefinitionsWrittenOnlyByEditors(PermissionsLeftByTheScripts(earlier));
}

// The tables script's code without comments, in lower case, each run of
// blanks and line ends one blank.
std::string TablesCode() {
  const std::string sCode = Lower(WithoutComments(ReadFile(serverScripts / "TWK_Tables.sql")));
  return std::regex_replace(sCode, std::regex(R"(\s+)"), " ");
}

struct Guard {
  const char* sWhat;
  const char* sCondition;  // the if that refuses, up to its begin
};

TEST(ServerScriptGuards, TheSystemParamsProcedureRefusesWhatWouldLockOutOrQuietAnyPanel) {
  const std::string sCode = TablesCode();
  const std::string sRefusal =
      R"( begin raiserror\(n'ptwk_writesystemparams[^']*', 16, 1, [^)]+\) return 1 end)";
  for (const Guard& guard : std::vector<Guard>{
           {"names outside QUOR.TWK.", R"(or left\(@parametername, 9\) <> 'quor\.twk\.')"},
           {"the reminder's values from others than editors",
            R"(@parametername collate latin1_general_ci_as in \('quor\.twk\.imis_version', )"
            R"('quor\.twk\.imis_checksum'\) and isnull\(is_member\(n'twk_editors'\), 0\) = 0 )"
            R"(and isnull\(is_member\(n'db_owner'\), 0\) = 0)"},
           {"a version not in the form TWK writes",
            R"(if @shortvalue is null or \(@shortvalue \+ '\.'\) collate latin1_general_bin )"
            R"(like '%\[\^0-9\.\]%' or @dot1 not between 2 and 10 or @dot2 - @dot1 not )"
            R"(between 2 and 10 or len\(@shortvalue\) - @dot2 not between 1 and 9 or )"
            R"(charindex\('\.', @shortvalue, @dot2 \+ 1\) > 0)"},
           {"a version above the installed one",
            R"(if @key collate latin1_general_bin > @installedkey)"},
       })
    EXPECT_TRUE(std::regex_search(sCode, std::regex(guard.sCondition + sRefusal))) << guard.sWhat;
}

TEST(ServerScriptGuards, TheProcedureKnowsTheVersionThatTheLibrariesReport) {
  std::smatch match;
  const std::string sCode = TablesCode();
  ASSERT_TRUE(std::regex_search(
      sCode, match, std::regex(R"(declare @installedversion varchar\(30\) = '([0-9.]+)')")));
  char sVersion[40];
  std::snprintf(sVersion, sizeof sVersion, "%d.%02d.%03d", iVersionMajor, iVersionMinor,
                iVersionRevision);
  EXPECT_EQ(match[1], sVersion);
}

TEST(ServerScriptGuards, EveryStatementOnTheOutputTableIsConfinedToTheConnectionsOwnRows) {
  // Made anew on every run, in this order: the policy binds the function.
  const std::string sPredicate =
      "predicate dbo.ftwk_alertoutputowner(owner_spid) on dbo.ttwk_alertoutput";
  const std::string sCode = TablesCode();
  std::size_t iAt = 0;
  for (const std::string& sPart : std::vector<std::string>{
           " go if exists (select * from sys.objects where object_id = "
           "object_id(n'dbo.stwk_alertoutputowner') and type = 'sp') exec (n'drop security policy "
           "dbo.stwk_alertoutputowner') if object_id(n'dbo.ftwk_alertoutputowner', n'if') is not "
           "null drop function dbo.ftwk_alertoutputowner go ",
           "create function dbo.ftwk_alertoutputowner(@ownerspid int) returns table with "
           "schemabinding as return select 1 as isowner where @ownerspid = @@spid go ",
           "create security policy dbo.stwk_alertoutputowner add filter " + sPredicate + ",",
           "add block " + sPredicate + " after insert,",
           "add block " + sPredicate + " after update,",
           "add block " + sPredicate + " before update,",
           "add block " + sPredicate + " before delete with (state = on, schemabinding = on)')",
       }) {
    iAt = sCode.find(sPart, iAt);
    ASSERT_NE(iAt, std::string::npos) << sPart;
  }
}

}  // namespace
}  // namespace twk::test
