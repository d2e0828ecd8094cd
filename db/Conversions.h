// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

namespace twk {

/// The conversions of field values that the query helpers and the alert
/// evaluation rely on. Failures throw TwkError with the numbers a Basic
/// runtime would give (94 null, 13 type mismatch, 6 overflow).
namespace Conversions {

/// The value's text form; a null value is an error.
QString ToTextStrict(const QVariant& value);
/// The value's text form; a null value gives the empty text.
QString ToTextLenient(const QVariant& value);
/// Removes leading and trailing U+0020 only; tabs and line breaks stay.
QString TrimSpaces(const QString& sText);
/// A number, or a text that reads as one, rounded to the nearest whole
/// number with halves going to the even one, as a signed 32-bit integer.
qint32 ToLong(const QVariant& value);
/// As ToLong, but the result must fit a signed 16-bit integer.
qint16 ToInteger(const QVariant& value);
/// False for zero and "False", True (-1) for any other number and "True";
/// letter case ignored; anything else is an error.
qint16 ToBoolean(const QVariant& value);
/// The number at the start of a text, as a Basic runtime's Val reads it:
/// blanks are skipped, reading stops at the first other character, and a
/// text that starts with no number gives 0 ("9 (sysadmin)" gives 9).
double LeadingNumber(const QString& sText);
/// The text with every apostrophe doubled, for a value placed between quotes
/// in SQL text.
QString QuoteApostrophes(const QString& sText);

}  // namespace Conversions

}  // namespace twk
