// SPDX-License-Identifier: MIT
// Whole batches on a demo database through the embedded engine: whatever
// the text, a batch ends (the run's -timeout turns a hang into a failure),
// fails only with TwkError, and every row it streams can be read. A batch
// with a NUL character in it is refused as such before any of it runs:
// SQLite reads a NUL as the end of the text, so a statement prepared only
// when it runs (after the one that makes its table) would run cut short,
// the rest dropped unseen, and the batch would report success.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <exception>
#include <memory>

#include "Connection.h"
#include "ConnectionSettings.h"
#include "EmbeddedDatabase.h"
#include "FuzzInput.h"
#include "TwkError.h"

namespace {

// Built once; every input then starts from a fresh copy, so that a batch
// that drops or fills a table cannot change what the next one sees.
struct DemoFiles {
  QTemporaryDir folder;
  QString sPristine;
  QString sWorking;
  DemoFiles() {
    if (!folder.isValid()) std::abort();
    sPristine = folder.filePath(QStringLiteral("pristine.db"));
    sWorking = folder.filePath(QStringLiteral("demo.db"));
    twk::EmbeddedDatabase::Create(sPristine, true);
  }
};

DemoFiles& Files() {
  static DemoFiles files;
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  DemoFiles& files = Files();
  QFile::remove(files.sWorking);
  if (!QFile::copy(files.sPristine, files.sWorking)) std::abort();
  const QString sBatch =
      QString::fromUtf8(QByteArray(reinterpret_cast<const char*>(pData), qsizetype(iSize)));

  twk::ConnectionSettings settings;
  settings.sDataSource = files.sWorking;
  settings.sInitialCatalog = QStringLiteral("DEMO");
  settings.sUserId = QStringLiteral("MANAGER");
  twk::Connection connection;
  connection.SetSettings(settings);
  connection.Open();
  const bool bNul = sBatch.contains(QChar(u'\0'));
  try {
    twk::Recordset recordset = connection.Execute(sBatch);
    TWK_FUZZ_REQUIRE(!bNul);
    for (int iRow = 0; recordset.IsOpen() && !recordset.IsEof() && iRow < 10000; ++iRow) {
      for (int iField = 0; iField < recordset.FieldCount(); ++iField) {
        (void)recordset.Field(iField);
      }
      recordset.MoveNext();
    }
  } catch (const twk::TwkError& error) {
    // A failed batch is an answer, not a fault.
    TWK_FUZZ_REQUIRE(!bNul || error.Description().contains(QLatin1StringView("NUL character")));
  }
  connection.Close();
  return 0;
}
