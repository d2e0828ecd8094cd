// SPDX-License-Identifier: MIT
// The System_Params cache of modSubroutines.
#include "Conversions.h"
#include "ModuleState.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk::modSubroutines {

namespace {

const QString sModule = QStringLiteral("modSubroutines");

}  // namespace

void ReloadSystemParams() {
  ModuleState& state = ModuleState::ForThisThread();
  Steps steps(sModule, QStringLiteral("ReloadSystemParams"));
  std::optional<Recordset> recordset;
  const bool bFetched = steps.Run(100, [&] {
    recordset = state.SharedConnection().Execute(
        QStringLiteral("select ParameterName, ShortValue from System_Params order by ParameterName"));
    if (!recordset->IsOpen()) {
      throw TwkError(QStringLiteral("Operation is not allowed when the object is closed."),
                     QStringLiteral("TWK"), 3704);
    }
  });
  if (!bFetched) {
    state.SystemParamsLoaded = false;
    Platform::Services().ShowMessage(QStringLiteral("Error fetching System_Params"),
                                     QStringLiteral("TWK"), MessageButtons::Ok,
                                     MessageIcon::Critical);
    return;
  }
  state.SystemParamsCache.clear();
  state.SystemParamsCache.reserve(std::size_t(recordset->RecordCount()));
  for (; !recordset->IsEof(); recordset->MoveNext()) {
    // A null cell is reported and left empty; the load goes on.
    QString sName;
    QString sValue;
    steps.Run(110, [&] { sName = Conversions::ToTextStrict(recordset->Field(0)); });
    steps.Run(120, [&] { sValue = Conversions::ToTextStrict(recordset->Field(1)); });
    state.SystemParamsCache.emplace_back(sName, sValue);
  }
  recordset->Close();
  state.SystemParamsLoaded = true;
}

QString SysParamsValue(const QString& sName, const QString& sDefault) {
  ModuleState& state = ModuleState::ForThisThread();
  if (!state.SystemParamsLoaded) {
    ReloadSystemParams();
    if (!state.SystemParamsLoaded) return sDefault;
  }
  const QString sKey = sName.toUpper();
  const auto& cache = state.SystemParamsCache;
  // From the end: among names that differ only in case, the last one wins.
  for (auto row = cache.rbegin(); row != cache.rend(); ++row) {
    if (row->first.toUpper() == sKey) return row->second;
  }
  return sDefault;
}

void WriteSysParams(const QString& sName, const QString& sValue) {
  Steps steps(sModule, QStringLiteral("WriteSysParams"));
  steps.Run(100, [&] {
    ModuleState::ForThisThread().SharedConnection().Execute(
        QStringLiteral("exec ptwk_WriteSystemParams '") + Conversions::QuoteApostrophes(sName) +
        QStringLiteral("', '") + Conversions::QuoteApostrophes(sValue) + QStringLiteral("'"));
  });
  ReloadSystemParams();
}

void EraseSysParams() { ModuleState::ForThisThread().SystemParamsLoaded = false; }

}  // namespace twk::modSubroutines
