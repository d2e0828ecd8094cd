// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace twk::test {

/// One thing in a T-SQL script that sqlcmd or SQL Server would stumble on.
struct ScriptFault {
  int iLine = 0;  ///< 1-based line of the script where the fault starts
  std::string sWhat;
};

/// Splits a script into the batches sqlcmd sends (a line holding only GO,
/// with an optional count, ends one) and checks each by reading it, since no
/// SQL Server runs where the tests do: strings, quoted and bracketed names
/// and comments closed; parentheses, begin/end and case/end balanced; a
/// create or alter of a procedure, function, trigger or view first in its
/// batch, with set ansi_nulls on and set quoted_identifier on in force (the
/// server stores both with the object, and sqlcmd starts with
/// quoted_identifier off); and no $( that sqlcmd would take for a variable.
std::vector<ScriptFault> CheckScript(const std::string& sScript);

/// The faults as lines "line N: what", for test messages.
std::string Describe(const std::vector<ScriptFault>& faults);

}  // namespace twk::test
