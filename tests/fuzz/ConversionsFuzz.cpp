// SPDX-License-Identifier: MIT
// The number conversions behind ranks, icons, sequence numbers and the
// automation flags. A text is refused unless it reads as a finite number
// (never "nan" or "inf", whatever their case); a decimal text agrees with an
// exact reference (whole-number arithmetic, halves to the even neighbour);
// whole numbers go there and back unchanged; the narrow conversion agrees
// with the wide one or overflows; and no value, however large, reaches an
// undefined conversion (the sanitizer build would stop on one).
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QVariant>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "Conversions.h"
#include "FuzzInput.h"
#include "TwkError.h"

namespace {

namespace Conversions = twk::Conversions;

constexpr int kTypeMismatch = 13;
constexpr int kOverflow = 6;
constexpr int kNull = 94;

struct Outcome {
  std::optional<qint64> value;
  int iError = 0;
};

template <typename Convert>
Outcome Try(Convert convert) {
  try {
    return {qint64(convert()), 0};
  } catch (const twk::TwkError& error) {
    return {std::nullopt, int(error.Number())};
  }
}

// A text of the form [blanks][sign]digits[.digits][blanks], small enough that
// a double holds it closely: its value rounded to a whole number exactly,
// halves going to the even neighbour. Empty for any other text.
std::optional<qint64> ExactRounded(const QString& sText) {
  const QString sTrimmed = sText.trimmed();
  qsizetype i = 0;
  bool bNegative = false;
  if (i < sTrimmed.size() && (sTrimmed[i] == u'-' || sTrimmed[i] == u'+')) {
    bNegative = sTrimmed[i] == u'-';
    ++i;
  }
  auto IsDigit = [&](qsizetype iAt) {
    return iAt < sTrimmed.size() && sTrimmed[iAt] >= u'0' && sTrimmed[iAt] <= u'9';
  };
  auto DigitAt = [&](qsizetype iAt) { return sTrimmed[iAt].unicode() - u'0'; };
  if (!IsDigit(i)) return std::nullopt;
  qint64 lWhole = 0;
  for (; IsDigit(i); ++i) {
    lWhole = lWhole * 10 + DigitAt(i);
    if (lWhole >= 10'000'000'000) return std::nullopt;
  }
  // Four fraction digits at most: with ten whole digits a double is still
  // far closer than 1e-4 to the text, so only an exact half can be a tie.
  int iFraction = 0;
  int iFractionDigits = 0;
  if (i < sTrimmed.size() && sTrimmed[i] == u'.') {
    for (++i; IsDigit(i); ++i) {
      if (++iFractionDigits > 4) return std::nullopt;
      iFraction = iFraction * 10 + DigitAt(i);
    }
    if (iFractionDigits == 0) return std::nullopt;
  }
  if (i != sTrimmed.size()) return std::nullopt;
  for (; iFractionDigits < 4; ++iFractionDigits) iFraction *= 10;
  qint64 lRounded = lWhole;
  if (iFraction > 5000 || (iFraction == 5000 && lWhole % 2 == 1)) ++lRounded;
  return bNegative ? -lRounded : lRounded;
}

// What a finite double rounds to, halves to the even neighbour, by the
// floating-point environment's own rounding rather than by hand.
double NearestEven(double dNumber) {
  return std::nearbyint(dNumber);
}

void CheckWholeNumber(std::optional<qint64> expected, const Outcome& wide, const Outcome& narrow) {
  if (!expected) return;
  const bool bFitsLong = *expected >= std::numeric_limits<qint32>::min() &&
                         *expected <= std::numeric_limits<qint32>::max();
  const bool bFitsInteger = *expected >= std::numeric_limits<qint16>::min() &&
                            *expected <= std::numeric_limits<qint16>::max();
  TWK_FUZZ_REQUIRE(bFitsLong ? wide.value == expected : wide.iError == kOverflow);
  TWK_FUZZ_REQUIRE(bFitsInteger ? narrow.value == expected : narrow.iError == kOverflow);
}

// Properties every value shares, whatever its type.
void CheckValue(const QVariant& value) {
  const Outcome wide = Try([&] { return Conversions::ToLong(value); });
  const Outcome narrow = Try([&] { return Conversions::ToInteger(value); });
  const Outcome flag = Try([&] { return Conversions::ToBoolean(value); });
  for (const Outcome* pOutcome : {&wide, &narrow, &flag}) {
    TWK_FUZZ_REQUIRE(pOutcome->value.has_value() != (pOutcome->iError != 0));
    TWK_FUZZ_REQUIRE(pOutcome->iError == 0 || pOutcome->iError == kTypeMismatch ||
                     pOutcome->iError == kOverflow || pOutcome->iError == kNull);
  }
  if (wide.value) {
    TWK_FUZZ_REQUIRE(*wide.value >= std::numeric_limits<qint32>::min() &&
                     *wide.value <= std::numeric_limits<qint32>::max());
  }
  // The narrow conversion is the wide one with a smaller range.
  if (narrow.value) {
    TWK_FUZZ_REQUIRE(wide.value == narrow.value);
  } else if (wide.value) {
    TWK_FUZZ_REQUIRE(narrow.iError == kOverflow &&
                     (*wide.value < std::numeric_limits<qint16>::min() ||
                      *wide.value > std::numeric_limits<qint16>::max()));
  } else {
    TWK_FUZZ_REQUIRE(narrow.iError == wide.iError);
  }
  if (flag.value) TWK_FUZZ_REQUIRE(*flag.value == 0 || *flag.value == -1);
  const bool bNull = !value.isValid() || value.isNull();
  TWK_FUZZ_REQUIRE(bNull == (wide.iError == kNull) && bNull == (flag.iError == kNull));
  if (bNull) return;

  if (value.typeId() == QMetaType::QString) {
    const QString sText = value.toString();
    const QString sTrimmed = sText.trimmed();
    const bool bWord = sTrimmed.compare(u"true", Qt::CaseInsensitive) == 0 ||
                       sTrimmed.compare(u"false", Qt::CaseInsensitive) == 0;
    if (bWord) {
      const bool bTrue = sTrimmed.compare(u"true", Qt::CaseInsensitive) == 0;
      TWK_FUZZ_REQUIRE(flag.value == (bTrue ? -1 : 0));
    }
    // Whatever the locale's reader takes, a number a person would write has
    // no letters but an exponent's e: "nan", "inf", "infinity" are refused.
    if (wide.value || wide.iError == kOverflow || (flag.value && !bWord)) {
      for (const QChar c : sTrimmed) TWK_FUZZ_REQUIRE(!c.isLetter() || c == u'e' || c == u'E');
    }
    const std::optional<qint64> exact = ExactRounded(sText);
    CheckWholeNumber(exact, wide, narrow);
    if (exact) TWK_FUZZ_REQUIRE(flag.value.has_value());
    return;
  }
  if (value.typeId() == QMetaType::Double) {
    const double dNumber = value.toDouble();
    if (!std::isfinite(dNumber) || std::fabs(dNumber) > 1e15) {
      TWK_FUZZ_REQUIRE(!wide.value);
      return;
    }
    CheckWholeNumber(qint64(NearestEven(dNumber)), wide, narrow);
    TWK_FUZZ_REQUIRE(flag.value == (dNumber != 0.0 ? -1 : 0));
    return;
  }
  if (value.typeId() == QMetaType::LongLong) {
    const qint64 lNumber = value.toLongLong();
    // A double holds whole numbers exactly up to 2^53; past that the
    // conversion only has to refuse what does not fit.
    constexpr qint64 lExact = qint64(1) << 53;
    if (lNumber > -lExact && lNumber < lExact) CheckWholeNumber(lNumber, wide, narrow);
    TWK_FUZZ_REQUIRE(flag.value == (lNumber != 0 ? -1 : 0));
  }
}

template <typename T>
T Read(const uint8_t* pData, size_t iSize) {
  T value{};
  std::memcpy(&value, pData, std::min(iSize, sizeof(T)));
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  const QString sText =
      QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize)));
  CheckValue(QVariant(sText));
  // The same bytes as the numbers a driver hands over.
  const qint64 lNumber = Read<qint64>(pData, iSize);
  CheckValue(QVariant(qlonglong(lNumber)));
  CheckValue(QVariant(Read<double>(pData, iSize)));
  CheckValue(QVariant());

  // Round trips: a whole number written out reads back as itself, and the
  // half above it goes to the even one of its two neighbours.
  const qint32 lWhole = qint32(lNumber);
  TWK_FUZZ_REQUIRE(Conversions::ToLong(QVariant(QString::number(lWhole))) == lWhole);
  TWK_FUZZ_REQUIRE(Conversions::ToLong(QVariant(Conversions::ToTextStrict(QVariant(lWhole)))) ==
                   lWhole);
  const qint64 lBelowHalf = lWhole >= 0 ? qint64(lWhole) : qint64(lWhole) - 1;
  const qint64 lEven = lBelowHalf % 2 == 0 ? lBelowHalf : lBelowHalf + 1;
  const Outcome half =
      Try([&] { return Conversions::ToLong(QVariant(QString::number(lWhole) + u".5"_qs)); });
  if (lEven <= std::numeric_limits<qint32>::max()) {
    TWK_FUZZ_REQUIRE(half.value == lEven);
  } else {
    TWK_FUZZ_REQUIRE(half.iError == kOverflow);
  }
  const qint16 iWhole = qint16(lNumber);
  TWK_FUZZ_REQUIRE(Conversions::ToInteger(QVariant(QString::number(iWhole))) == iWhole);

  // The leading number of a text ends where the number does: what follows
  // it never changes it, and it is never NaN.
  const double dLeading = Conversions::LeadingNumber(sText);
  TWK_FUZZ_REQUIRE(!std::isnan(dLeading));
  const double dFollowed = Conversions::LeadingNumber(sText + QStringLiteral("x9"));
  TWK_FUZZ_REQUIRE(dLeading == dFollowed);
  // Blanks, a sign and digits: the value they spell, as long as a double
  // holds it exactly.
  static const QRegularExpression wholeNumber(QStringLiteral("^ *[+-]?[0-9]{1,15} *$"));
  if (wholeNumber.match(sText).hasMatch()) {
    bool bRead = false;
    const qint64 lSpelled = sText.trimmed().toLongLong(&bRead);
    TWK_FUZZ_REQUIRE(bRead && dLeading == double(lSpelled));
  }
  return 0;
}
