#pragma once

#include "PlatformServices.h"

#include <QStringList>

namespace twk {

/// Splits a command line into program and arguments the way a person reads
/// it: blanks separate, double quotes group, a doubled quote inside quotes
/// stands for one.
QStringList SplitCommandLine(const QString& sCommandLine);

/// Starts the program of a command line with its arguments, no shell
/// between, and does not wait for it.
CommandStart StartDetachedCommand(const QString& sCommandLine);

}  // namespace twk
