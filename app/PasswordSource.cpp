// SPDX-License-Identifier: MIT
#include "PasswordSource.h"

#include <QFile>
#include <QProcessEnvironment>

namespace twk {

QCommandLineOption PasswordSource::PasswordOption() {
  return QCommandLineOption(
      QStringLiteral("password"),
      QStringLiteral("Password of the login. Others can read it in the process list: prefer "
                     "--password-file or the environment variable TWK_PASSWORD."),
      QStringLiteral("PASSWORD"));
}

QCommandLineOption PasswordSource::FileOption() {
  return QCommandLineOption(QStringLiteral("password-file"),
                            QStringLiteral("Read the password from the first line of FILE."),
                            QStringLiteral("FILE"));
}

bool PasswordSource::Resolve(const QCommandLineParser& parser, const QCommandLineOption& password,
                             const QCommandLineOption& file, QString& sPassword, QString& sError) {
  if (parser.isSet(password)) {
    sPassword = parser.value(password);
    return true;
  }
  if (parser.isSet(file)) {
    QFile source(parser.value(file));
    if (!source.open(QIODevice::ReadOnly)) {
      sError = QStringLiteral("cannot read the password file %1: %2")
                   .arg(parser.value(file), source.errorString());
      return false;
    }
    // Only the line break that ends the line goes; spaces may be part of it.
    QByteArray line = source.readLine();
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    sPassword = QString::fromUtf8(line);
    return true;
  }
  sPassword = QProcessEnvironment::systemEnvironment().value(QStringLiteral("TWK_PASSWORD"));
  return true;
}

}  // namespace twk
