// SPDX-License-Identifier: MIT
#pragma once

struct sqlite3;

namespace twk {

/// The server's sysobjects catalogue (name, uid, type) as a TEMP view over
/// the database's own tables ('U') and views ('V') and the procedures of
/// twk_procedures ('P'); uid is 1 (the database owner) for all. It lives only
/// while a batch that names it runs: a view left behind would go stale when
/// twk_procedures comes or goes, and a stale view makes SQLite refuse later
/// ALTER TABLE statements.
class SysobjectsView {
 public:
  explicit SysobjectsView(sqlite3* pDb) noexcept : pDb_(pDb) {}
  SysobjectsView(const SysobjectsView&) = delete;
  SysobjectsView& operator=(const SysobjectsView&) = delete;

  /// Makes the view match the database for the next statement.
  void Prepare();
  /// Removes the view, if this object made one.
  void Drop() noexcept;

 private:
  sqlite3* pDb_;
  bool bCreated_ = false;
  bool bWithProcedures_ = false;
};

}  // namespace twk
