// SPDX-License-Identifier: MIT
#include "ModuleFixture.h"

#include "EmbeddedDatabase.h"
#include "modSubroutines.h"

#include <sqlite3.h>

#include <memory>

namespace twk::testing {

namespace {

struct SqliteClose {
  void operator()(sqlite3* p) const noexcept { sqlite3_close_v2(p); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteClose>;

SqliteHandle OpenRaw(const QString& sFile) {
  sqlite3* pDatabase = nullptr;
  sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle handle(pDatabase);
  sqlite3_busy_timeout(pDatabase, 5000);
  return handle;
}

}  // namespace

void ModuleFixture::SetUp() {
  ASSERT_TRUE(scratch.isValid());
  sDatabaseFile = scratch.filePath(QStringLiteral("twk.db"));
  EmbeddedDatabase::Create(sDatabaseFile, false);
}

void ModuleFixture::OpenShared() {
  ConnectionSettings settings;
  settings.sDataSource = sDatabaseFile;
  Connection& connection = moduleState.State().SharedConnection();
  connection.SetSettings(settings);
  connection.Open();
}

bool ModuleFixture::Start(qint32 lLevel) {
  modSubroutines::CalculateAuthID(QStringLiteral("MANAGER"), QStringLiteral("DEMO"));
  return modSubroutines::InitializeConnection(sDatabaseFile, QStringLiteral("DEMO"),
                                              QStringLiteral("MANAGER"), QString(), lLevel);
}

void ModuleFixture::Raw(const QString& sSql) const {
  SqliteHandle database = OpenRaw(sDatabaseFile);
  char* pError = nullptr;
  if (sqlite3_exec(database.get(), sSql.toUtf8().constData(), nullptr, nullptr, &pError) !=
      SQLITE_OK) {
    ADD_FAILURE() << "raw SQL failed: " << (pError ? pError : "?") << " in "
                  << sSql.toStdString();
    sqlite3_free(pError);
  }
}

QString ModuleFixture::RawValue(const QString& sSql) const {
  SqliteHandle database = OpenRaw(sDatabaseFile);
  sqlite3_stmt* pStatement = nullptr;
  if (sqlite3_prepare_v2(database.get(), sSql.toUtf8().constData(), -1, &pStatement, nullptr) !=
      SQLITE_OK) {
    ADD_FAILURE() << "raw SQL failed: " << sqlite3_errmsg(database.get());
    return QString();
  }
  QString sValue = QStringLiteral("<none>");
  if (sqlite3_step(pStatement) == SQLITE_ROW) {
    sValue = sqlite3_column_type(pStatement, 0) == SQLITE_NULL
                 ? QStringLiteral("<null>")
                 : QString::fromUtf8(
                       reinterpret_cast<const char*>(sqlite3_column_text(pStatement, 0)));
  }
  sqlite3_finalize(pStatement);
  return sValue;
}

QString ModuleFixture::AllMessageText() const {
  QString sAll;
  for (const auto& message : platform.messages) {
    sAll += message.sTitle + QLatin1Char('\n') + message.sText + QLatin1Char('\n');
  }
  return sAll;
}

}  // namespace twk::testing
