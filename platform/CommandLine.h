// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <functional>

#include "PlatformServices.h"

namespace twk {

/// Splits a command line into program and arguments. The rule, all of it:
///
/// - Outside double quotes, a space, tab, carriage return or line feed ends
///   an argument; a run of them counts as one, and those at either end of
///   the line are dropped.
/// - A double quote (U+0022) opens a quoted part, which runs to the next
///   double quote that is not doubled, or to the end of the line. Inside it
///   blanks are kept, and a doubled double quote stands for one.
/// - Quoted and unquoted parts that touch form one argument: a"b c"d is
///   "ab cd". A quoted part that is empty still makes an argument, so
///   x "" y is three arguments, the second one empty.
/// - Every other character, backslashes and non-ASCII ones included, stands
///   for itself.
///
/// An empty line, or one of blanks only, gives no arguments.
QStringList SplitCommandLine(const QString& sCommandLine);

/// The command line that SplitCommandLine reads back as exactly these
/// arguments: an argument that is empty or holds a blank or a double quote
/// is quoted, its double quotes doubled; any other goes in as it is.
QString JoinCommandLine(const QStringList& arguments);

/// Starts the program of a command line with its arguments, no shell
/// between, and does not wait for it.
CommandStart StartDetachedCommand(const QString& sCommandLine);

/// Starts it the same way but keeps watching: when the program ends with
/// an exit code other than 0, onFailure gets that code (-1 for a crash).
/// Needs a running event loop to hear of the end.
CommandStart StartWatchedCommand(const QString& sCommandLine, std::function<void(int)> onFailure);

}  // namespace twk
