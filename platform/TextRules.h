// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// Removes leading and trailing U+0020 only; tabs, line breaks and other
/// blanks stay, as the system has always trimmed.
QString TrimSpaces(const QString& sText);

/// Text as a terminal may show it: control characters (C0, DEL, C1) and the
/// characters that reorder text (bidirectional embeddings, overrides and
/// isolates, U+2028 and U+2029) appear as escapes such as \e, \t, \x07 or \u202e, so that text
/// from a database can neither move the cursor nor change colours or
/// titles. With bKeepLineBreaks, line feeds (and carriage returns before
/// them) stay line breaks.
QString TerminalText(const QString& sText, bool bKeepLineBreaks = false);

/// Serialised JSON as a terminal may show it, still the same JSON: DEL, C1
/// and the characters TerminalText escapes become \u sequences (the C0
/// controls JSON itself already escapes).
QString JsonForTerminal(const QString& sJson);

}  // namespace twk
