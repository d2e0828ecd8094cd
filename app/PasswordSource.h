// SPDX-License-Identifier: MIT
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace twk {

/// Where the login's password comes from, so that it need not show in the
/// process list: --password, else the first line of --password-file, else
/// the environment variable TWK_PASSWORD.
class PasswordSource {
 public:
  static QCommandLineOption PasswordOption();
  static QCommandLineOption FileOption();

  /// The password; false with sError set when the file cannot be read. sError
  /// names the file as given, raw: a caller that prints it escapes it.
  static bool Resolve(const QCommandLineParser& parser, const QCommandLineOption& password,
                      const QCommandLineOption& file, QString& sPassword, QString& sError);
};

}  // namespace twk
