// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "ConnectionSettings.h"

namespace twk {
namespace {

ConnectionSettings Login(const QString& sUser, const QString& sPassword) {
  ConnectionSettings settings;
  settings.sDataSource = QStringLiteral("Imis");
  settings.sInitialCatalog = QStringLiteral("ASSOC");
  settings.sUserId = sUser;
  settings.sPassword = sPassword;
  return settings;
}

TEST(PasswordMask, HidesThePasswordButNotTheNamesThatHoldIt) {
  const ConnectionSettings settings =
      Login(QStringLiteral("STAFF1_ASSOC_i"), QStringLiteral("ASSOC"));
  EXPECT_EQ(settings.Scrub(QStringLiteral("Login failed for user 'STAFF1_ASSOC_i'.")),
            QStringLiteral("Login failed for user 'STAFF1_ASSOC_i'."));
  EXPECT_EQ(settings.Scrub(QStringLiteral("PWD=ASSOC;UID=STAFF1_ASSOC_i; ASSOC")),
            QStringLiteral("PWD=********;UID=STAFF1_ASSOC_i; ********"));
}

TEST(PasswordMask, HidesThePasswordAlsoInItsQuotedForm) {
  const ConnectionSettings settings = Login(QStringLiteral("staff"), QStringLiteral("pw}1;x"));
  const QString sScrubbed =
      settings.Scrub(QStringLiteral("PWD={pw}}1;x}; as typed pw}1;x; half pw}1"));
  EXPECT_FALSE(sScrubbed.contains(QStringLiteral("pw}}1;x")));
  EXPECT_FALSE(sScrubbed.contains(QStringLiteral("pw}1;x")));
  EXPECT_TRUE(sScrubbed.contains(QStringLiteral("half pw}1"))) << sScrubbed.toStdString();
}

TEST(PasswordMask, APasswordEqualToTheUserNameIsStillHidden) {
  const ConnectionSettings settings = Login(QStringLiteral("secret"), QStringLiteral("secret"));
  EXPECT_EQ(settings.Scrub(QStringLiteral("user 'secret'")), QStringLiteral("user '********'"));
}

}  // namespace
}  // namespace twk
