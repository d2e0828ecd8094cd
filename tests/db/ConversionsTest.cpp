// SPDX-License-Identifier: MIT
#include "Conversions.h"
#include "TwkError.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace twk {
namespace {

using namespace Conversions;

TEST(Conversions, LongRoundsHalvesToTheEvenNumber) {
  EXPECT_EQ(ToLong(QVariant(2.5)), 2);
  EXPECT_EQ(ToLong(QVariant(3.5)), 4);
  EXPECT_EQ(ToLong(QVariant(-2.5)), -2);
  EXPECT_EQ(ToLong(QVariant(-3.5)), -4);
  EXPECT_EQ(ToLong(QVariant(2.51)), 3);
  EXPECT_EQ(ToLong(QVariant(QStringLiteral("2"))), 2);
  EXPECT_EQ(ToLong(QVariant(QStringLiteral(" 7.5 "))), 8);
  EXPECT_EQ(ToLong(QVariant(qint64(2147483647))), 2147483647);
}

TEST(Conversions, LongRejectsNullOtherTextAndOutOfRange) {
  const auto expectError = [](const QVariant& value, long lNumber) {
    try {
      ToLong(value);
      ADD_FAILURE() << "no error for " << value.toString().toStdString();
    } catch (const TwkError& error) {
      EXPECT_EQ(error.Number(), lNumber);
    }
  };
  expectError(QVariant(), 94);
  expectError(QVariant(QStringLiteral("two")), 13);
  expectError(QVariant(QStringLiteral("inf")), 13);
  expectError(QVariant(QStringLiteral("NaN")), 13);
  expectError(QVariant(qint64(2147483648LL)), 6);
  expectError(QVariant(-2147483649.0), 6);
}

TEST(Conversions, IntegerMustFitSixteenBits) {
  EXPECT_EQ(ToInteger(QVariant(qint64(32767))), 32767);
  EXPECT_EQ(ToInteger(QVariant(-32768.4)), -32768);
  EXPECT_THROW(ToInteger(QVariant(qint64(32768))), TwkError);
  EXPECT_THROW(ToInteger(QVariant(32767.5)), TwkError);  // rounds to 32768
}

TEST(Conversions, BooleanReadsNumbersAndTrueFalseInAnyCase) {
  EXPECT_EQ(ToBoolean(QVariant(qint64(0))), 0);
  EXPECT_EQ(ToBoolean(QVariant(qint64(1))), -1);
  EXPECT_EQ(ToBoolean(QVariant(qint64(-1))), -1);
  EXPECT_EQ(ToBoolean(QVariant(0.25)), -1);
  EXPECT_EQ(ToBoolean(QVariant(QStringLiteral("tRUE"))), -1);
  EXPECT_EQ(ToBoolean(QVariant(QStringLiteral("False"))), 0);
  EXPECT_EQ(ToBoolean(QVariant(QStringLiteral("0"))), 0);
  EXPECT_THROW(ToBoolean(QVariant(QStringLiteral("yes"))), TwkError);
  EXPECT_THROW(ToBoolean(QVariant(QStringLiteral("nan"))), TwkError);
  EXPECT_THROW(ToBoolean(QVariant(QStringLiteral("inf"))), TwkError);
  EXPECT_THROW(ToBoolean(QVariant()), TwkError);
}

TEST(Conversions, TextFormsOfValues) {
  EXPECT_EQ(ToTextStrict(QVariant(qint64(42))), QStringLiteral("42"));
  EXPECT_EQ(ToTextStrict(QVariant(2.5)), QStringLiteral("2.5"));
  EXPECT_EQ(ToTextStrict(QVariant(3.0)), QStringLiteral("3"));
  EXPECT_EQ(ToTextStrict(QVariant(QDateTime(QDate(2026, 12, 9), QTime(9, 5, 0)))),
            QStringLiteral("2026-12-09 09:05:00"));
  EXPECT_THROW(ToTextStrict(QVariant()), TwkError);
  EXPECT_EQ(ToTextLenient(QVariant()), QString());
}

TEST(Conversions, TrimmingRemovesOnlyPlainSpaces) {
  EXPECT_EQ(TrimSpaces(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(TrimSpaces(QStringLiteral("\ta\r\n")), QStringLiteral("\ta\r\n"));
  EXPECT_EQ(TrimSpaces(QStringLiteral("\u00a0a\u00a0")), QStringLiteral("\u00a0a\u00a0"));
  EXPECT_EQ(TrimSpaces(QStringLiteral("   ")), QString());
}

TEST(Conversions, LeadingNumberReadsLikeVal) {
  EXPECT_EQ(LeadingNumber(QStringLiteral("9 (sysadmin)")), 9.0);
  EXPECT_EQ(LeadingNumber(QStringLiteral(" 1 2")), 12.0);
  EXPECT_EQ(LeadingNumber(QStringLiteral("7.6x")), 7.6);
  EXPECT_EQ(LeadingNumber(QStringLiteral("-3")), -3.0);
  EXPECT_EQ(LeadingNumber(QStringLiteral("abc")), 0.0);
  EXPECT_EQ(LeadingNumber(QString()), 0.0);
}

TEST(Conversions, ApostrophesAreDoubled) {
  EXPECT_EQ(QuoteApostrophes(QStringLiteral("O'Brien''s")), QStringLiteral("O''Brien''''s"));
}

}  // namespace
}  // namespace twk
