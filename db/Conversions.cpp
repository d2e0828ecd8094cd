// SPDX-License-Identifier: MIT
#include "Conversions.h"

#include "TextRules.h"
#include "TwkError.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <limits>

namespace twk::Conversions {

namespace {

const QString sSource = QStringLiteral("TWK");

TwkError NullError() { return TwkError(QStringLiteral("Invalid use of Null"), sSource, 94); }
TwkError TypeMismatch() { return TwkError(QStringLiteral("Type mismatch"), sSource, 13); }
TwkError Overflow() { return TwkError(QStringLiteral("Overflow"), sSource, 6); }

bool IsNull(const QVariant& value) { return !value.isValid() || value.isNull(); }

QString TextForm(const QVariant& value) {
  switch (value.typeId()) {
    // Whole numbers are most of what lists read; the generic conversion
    // costs many times more than formatting them directly.
    case QMetaType::LongLong:
      return QString::number(value.toLongLong());
    case QMetaType::Int:
      return QString::number(value.toInt());
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
      return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
      return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    default:
      return value.toString();
  }
}

// The number a value stands for; texts count when they read as a number.
double NumberOf(const QVariant& value) {
  if (IsNull(value)) throw NullError();
  switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
      return value.toDouble();
    case QMetaType::Bool:
      return value.toBool() ? -1.0 : 0.0;
    case QMetaType::QString: {
      bool bOk = false;
      const double dNumber = QLocale::c().toDouble(value.toString().trimmed(), &bOk);
      // "nan" and "inf" read as numbers to the locale, but not to a person.
      if (!bOk || !std::isfinite(dNumber)) throw TypeMismatch();
      return dNumber;
    }
    default:
      throw TypeMismatch();
  }
}

double RoundHalfEven(double dNumber) {
  // Spelled out rather than left to the floating-point environment, whose
  // rounding mode any library loaded into the host could have changed.
  const double dFloor = std::floor(dNumber);
  const double dFraction = dNumber - dFloor;
  if (dFraction > 0.5) return dFloor + 1.0;
  if (dFraction < 0.5) return dFloor;
  return std::fmod(dFloor, 2.0) == 0.0 ? dFloor : dFloor + 1.0;
}

}  // namespace

QString ToTextStrict(const QVariant& value) {
  if (IsNull(value)) throw NullError();
  return TextForm(value);
}

QString ToTextLenient(const QVariant& value) {
  if (IsNull(value)) return QString();
  return TextForm(value);
}

QString TrimSpaces(const QString& sText) { return twk::TrimSpaces(sText); }

qint32 ToLong(const QVariant& value) {
  const double dRounded = RoundHalfEven(NumberOf(value));
  if (!(dRounded >= std::numeric_limits<qint32>::min() &&
        dRounded <= std::numeric_limits<qint32>::max())) {
    throw Overflow();
  }
  return qint32(dRounded);
}

qint16 ToInteger(const QVariant& value) {
  const double dRounded = RoundHalfEven(NumberOf(value));
  if (!(dRounded >= std::numeric_limits<qint16>::min() &&
        dRounded <= std::numeric_limits<qint16>::max())) {
    throw Overflow();
  }
  return qint16(dRounded);
}

qint16 ToBoolean(const QVariant& value) {
  if (IsNull(value)) throw NullError();
  if (value.typeId() == QMetaType::QString) {
    const QString sText = value.toString().trimmed();
    if (sText.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return -1;
    if (sText.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return 0;
  }
  return NumberOf(value) != 0.0 ? -1 : 0;
}

double LeadingNumber(const QString& sText) {
  QString sNumber;
  bool bDigits = false;
  bool bPoint = false;
  for (const QChar character : sText) {
    if (character == QLatin1Char(' ') || character == QLatin1Char('\t') ||
        character == QLatin1Char('\n') || character == QLatin1Char('\r')) {
      continue;
    }
    if ((character == QLatin1Char('-') || character == QLatin1Char('+')) && sNumber.isEmpty()) {
      sNumber.append(character);
    } else if (character.isDigit() && character.unicode() < 128) {
      sNumber.append(character);
      bDigits = true;
    } else if (character == QLatin1Char('.') && !bPoint) {
      sNumber.append(character);
      bPoint = true;
    } else {
      break;
    }
  }
  if (!bDigits) return 0.0;
  return QLocale::c().toDouble(sNumber);
}

QString QuoteApostrophes(const QString& sText) {
  QString sQuoted = sText;
  sQuoted.replace(QLatin1Char('\''), QStringLiteral("''"));
  return sQuoted;
}

}  // namespace twk::Conversions
