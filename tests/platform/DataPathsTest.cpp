// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "DataPaths.h"
#include "ProductNotices.h"

namespace twk {
namespace {

/// A prefix with bin/ and share/, and a build tree's share/ beside it.
class DataPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    ASSERT_TRUE(QDir(scratch.path()).mkpath(QStringLiteral("prefix/bin")));
  }

  QString Path(const char* sRelative) const {
    return scratch.filePath(QString::fromLatin1(sRelative));
  }

  void Touch(const char* sRelative) const {
    const QString sPath = Path(sRelative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(sPath).path()));
    QFile file(sPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QString Find(const char* sRelative) const {
    return twk::DataPaths::Find(QString::fromLatin1(sRelative), Path("prefix/bin"),
                                Path("build/share"));
  }

  QTemporaryDir scratch;
};

TEST_F(DataPaths, TheCopyUnderTheProgramsOwnPrefixComesFirst) {
  Touch("prefix/share/doc/tellwick/index.html");
  Touch("build/share/doc/tellwick/index.html");
  EXPECT_EQ(Find("doc/tellwick/index.html"), Path("prefix/share/doc/tellwick/index.html"));
}

TEST_F(DataPaths, WithoutAnInstalledCopyTheBuildTreesIsUsed) {
  Touch("build/share/tellwick/sql/server/TWK_Tables.sql");
  EXPECT_EQ(Find("tellwick/sql/server/TWK_Tables.sql"),
            Path("build/share/tellwick/sql/server/TWK_Tables.sql"));
}

TEST_F(DataPaths, AFileFoundNowhereIsNamedWhereTheInstallationPutsIt) {
  EXPECT_EQ(Find("doc/tellwick/index.html"), Path("prefix/share/doc/tellwick/index.html"));
  EXPECT_EQ(twk::DataPaths::Find(QStringLiteral("doc/tellwick/index.html"), Path("prefix/bin"),
                                 QString()),
            Path("prefix/share/doc/tellwick/index.html"));
}

TEST(ProductNotices, VersionTextNamesBothCopyrightsAndWhereTheFullTextsAre) {
  const QString sText =
      ProductNotices::VersionText(QStringLiteral("tellwick"), QStringLiteral("1.00.000"));
  EXPECT_TRUE(sText.startsWith(QStringLiteral("tellwick ") + ProductNotices::ProductVersion() +
                               QStringLiteral(" (alert libraries 1.00.000)\n")))
      << qPrintable(sText);
  EXPECT_TRUE(sText.contains(QStringLiteral("Copyright (c) 2026 The Tellwick developers")));
  EXPECT_TRUE(sText.contains(QStringLiteral("Copyright (c) 2019-2021 The Bootstrap Authors")));
  EXPECT_TRUE(sText.contains(QStringLiteral("doc/tellwick/copyright")));
  EXPECT_TRUE(
      ProductNotices::LicenceText().contains(QStringLiteral("Permission is hereby granted")));
  EXPECT_TRUE(ProductNotices::IconsNotice().contains(QStringLiteral("Bootstrap Icons")));
}

}  // namespace
}  // namespace twk
