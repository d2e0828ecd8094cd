// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace twk {

/// The one error type of the system: what went wrong, which component
/// raised it, and that component's number for it.
class TwkError : public std::exception {
 public:
  TwkError(QString sDescription, QString sSource, long lNumber = 0);

  const QString& Description() const noexcept { return sDescription_; }
  const QString& Source() const noexcept { return sSource_; }
  long Number() const noexcept { return lNumber_; }

  const char* what() const noexcept override { return sUtf8_.c_str(); }

 private:
  QString sDescription_;
  QString sSource_;
  long lNumber_;
  std::string sUtf8_;
};

}  // namespace twk
