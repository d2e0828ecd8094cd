// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace twk {

/// Creates embedded database files from the scripts compiled into the
/// library: the iMIS tables TWK reads, the TWK tables and procedures, and
/// optionally the demo data set.
class EmbeddedDatabase {
 public:
  /// Creates a new database file at sPath with every object, and the demo
  /// data when bDemo is set. Refuses (TwkError, source "TWK") when anything
  /// exists at sPath. The file appears complete or not at all: it is built
  /// under a temporary name beside the target and renamed into place.
  static void Create(const QString& sPath, bool bDemo);

  /// Where the demo database lives: "demo.db" in the application's writable
  /// data directory. Empty when the platform offers no such directory.
  static QString DefaultDemoPath();

  /// Creates the demo database at DefaultDemoPath() unless it exists, making
  /// its directory when needed, and returns its path. Throws TwkError when it
  /// cannot be created.
  static QString EnsureDemoDatabase();

  /// The resource names of the scripts that Create runs, in their order.
  static QStringList ScriptNames(bool bDemo);

  /// The version of the objects Create makes, kept as the file's
  /// user_version.
  static constexpr int iObjectsVersion = 2;

  /// Brings a file made by an earlier version up to this one: that version
  /// kept its procedures in SQLite's own SQL, which the engine no longer
  /// runs. Its procedures are written anew, the fixed text only while it is
  /// still the one that version shipped, so a site's own stays as it is.
  /// Tables keep their columns. Does nothing when the file is current, not
  /// writable or busy; it is tried again at the next opening.
  static void Upgrade(sqlite3* pDb) noexcept;
};

}  // namespace twk
