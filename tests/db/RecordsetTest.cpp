// SPDX-License-Identifier: MIT
#include "Recordset.h"
#include "TwkError.h"

#include <gtest/gtest.h>

namespace twk {
namespace {

Recordset TwoRows() {
  return Recordset({QStringLiteral("SEQN"), QStringLiteral("Keyword")},
                   {{QVariant(qint64(1)), QVariant(QStringLiteral("A"))},
                    {QVariant(qint64(2)), QVariant()}});
}

TEST(Recordset, FieldsAreFoundByNameWithoutRegardToCase) {
  Recordset rs = TwoRows();
  EXPECT_EQ(rs.Field(QStringLiteral("Seqn")).toLongLong(), 1);
  EXPECT_EQ(rs.Field(QStringLiteral("KEYWORD")).toString(), QStringLiteral("A"));
  EXPECT_EQ(rs.FieldIndex(QStringLiteral("missing")), -1);
  EXPECT_THROW(rs.Field(QStringLiteral("missing")), TwkError);
}

TEST(Recordset, StepsForwardToEndOfDataAndBackToTheFirstRow) {
  Recordset rs = TwoRows();
  EXPECT_EQ(rs.RecordCount(), 2);
  rs.MoveNext();
  EXPECT_TRUE(rs.Field(1).isNull());
  rs.MoveNext();
  EXPECT_TRUE(rs.IsEof());
  EXPECT_THROW(rs.Field(0), TwkError);
  EXPECT_THROW(rs.MoveNext(), TwkError);
  rs.MoveFirst();
  EXPECT_EQ(rs.Field(0).toLongLong(), 1);
}

TEST(Recordset, AClosedRecordSetHasNoFieldsAndRefusesRowOperations) {
  Recordset rs = Recordset::Closed(3);
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_TRUE(rs.IsEof());
  EXPECT_EQ(rs.FieldCount(), 0);
  EXPECT_EQ(rs.RowsAffected(), 3);
  EXPECT_THROW(rs.RecordCount(), TwkError);
  EXPECT_THROW(rs.MoveFirst(), TwkError);

  Recordset open = TwoRows();
  open.Close();
  EXPECT_FALSE(open.IsOpen());
}

}  // namespace
}  // namespace twk
