// SPDX-License-Identifier: MIT
#include "ControlRegistry.h"

namespace twk {

ControlRegistry& ControlRegistry::Instance() {
  static ControlRegistry registry;
  return registry;
}

void ControlRegistry::Register(const QString& sClassName, Factory factory) {
  for (auto& entry : factories_) {
    if (entry.first == sClassName) {
      entry.second = std::move(factory);
      return;
    }
  }
  factories_.append({sClassName, std::move(factory)});
}

bool ControlRegistry::IsRegistered(const QString& sClassName) const {
  for (const auto& entry : factories_) {
    if (entry.first == sClassName) return true;
  }
  return false;
}

QStringList ControlRegistry::ClassNames() const {
  QStringList names;
  for (const auto& entry : factories_) names.append(entry.first);
  return names;
}

QWidget* ControlRegistry::Create(const QString& sClassName, QWidget* pParent) const {
  for (const auto& entry : factories_) {
    if (entry.first == sClassName) return entry.second(pParent);
  }
  return nullptr;
}

}  // namespace twk
