// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace twk {

/// Creates controls by class name ("TWK.ctlTWK", "TWKDetail.ctlAlertDetail"),
/// so that one library can create the other's controls without linking it.
class ControlRegistry {
 public:
  using Factory = std::function<QWidget*(QWidget* pParent)>;

  static ControlRegistry& Instance();

  void Register(const QString& sClassName, Factory factory);
  bool IsRegistered(const QString& sClassName) const;
  QStringList ClassNames() const;

  /// Returns nullptr for an unknown class name.
  QWidget* Create(const QString& sClassName, QWidget* pParent = nullptr) const;

 private:
  QList<QPair<QString, Factory>> factories_;
};

}  // namespace twk
