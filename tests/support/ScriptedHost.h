// SPDX-License-Identifier: MIT
#pragma once

#include "XtenderHost.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace twk::testing {

/// A host that answers named values from a table and records every event
/// a control raises.
class ScriptedHost : public XtenderHost {
 public:
  QMap<QString, QString> values;
  QStringList titles;
  QStringList notices;
  int iCloseRequests = 0;

  void GetValue(const QString& sFieldName, QString& sValue) override {
    sValue = values.value(sFieldName);
  }
  void SetValue(const QString&, const QString&) override {}
  void Notify(const QString&, const QString&, const QString&, const QString&,
              const QString&) override {}
  void RegisterForNotice(const QString& sNoticeName) override { notices.append(sNoticeName); }
  void SetWindowTitle(const QString& sWindowTitle) override { titles.append(sWindowTitle); }
  void CloseSelf() override { ++iCloseRequests; }
};

}  // namespace twk::testing
