// SPDX-License-Identifier: MIT
#include "TwkError.h"

#include <utility>

namespace twk {

TwkError::TwkError(QString sDescription, QString sSource, long lNumber)
    : sDescription_(std::move(sDescription)),
      sSource_(std::move(sSource)),
      lNumber_(lNumber),
      sUtf8_(sDescription_.toStdString()) {}

}  // namespace twk
