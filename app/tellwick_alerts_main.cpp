// SPDX-License-Identifier: MIT
#include "AlertsCommand.h"
#include "ConsolePlatform.h"
#include "modSubroutines.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Tellwick"));
  QCoreApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());

  twk::ConsolePlatform console(stderr);
  twk::ScopedPlatform installation(console);
  twk::AlertsCommand command(console, stdout, stderr);
  return command.Run(QCoreApplication::arguments());
}
