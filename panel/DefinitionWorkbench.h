// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "AlertExplanation.h"
#include "AlertOutput.h"

namespace twk {

struct AlertRule;

/// Where an author's text went wrong: a 1-based line and column of that
/// text, 0 where the database's message does not tell.
struct TextPlace {
  int iLine = 0;
  int iColumn = 0;
};

/// What a check of a definition's text found. An empty message is a pass.
struct DefinitionCheck {
  QString sMessage;
  TextPlace place;

  bool Passed() const noexcept { return sMessage.isEmpty(); }
  /// "Line 3, column 12: Incorrect syntax near 'fromm'." or the message as
  /// it came when it names no place.
  QString Text() const;
};

/// Tools for the person writing a definition, on the shared connection of
/// the calling thread: nothing here writes the definition, and the panel's
/// own silence about failing definitions stays.
namespace DefinitionWorkbench {

/// Compiles the text as the panel would run it for the record and the
/// connection's user, under the server's "set noexec on": syntax, columns and types are
/// checked, nothing runs. A table the text itself creates is taken on trust,
/// as the server defers such names.
DefinitionCheck Check(const QString& sCriteria, const QString& sId);

/// Runs the text once for the record, as the panel would run it, nothing
/// automatic performed, and explains what came of it; the accepted alerts
/// go to alerts in the panel's order.
AlertExplanation Try(const AlertRule& rule, const QString& sId, std::vector<AlertOutput>& alerts);

/// The place a database message names in the author's text: its "Line N:"
/// prefix, and the column of the text it quotes as "near 'x'" on that line
/// (or, with no line, where the quoted text stands once in the whole text).
TextPlace PlaceOf(const QString& sMessage, const QString& sText);

}  // namespace DefinitionWorkbench

}  // namespace twk
