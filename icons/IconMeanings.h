// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

/// What each numbered icon shows, in words, for those who cannot see it:
/// read from the icon set's manifest, which names every image's meaning
/// and colour.
namespace IconMeanings {

/// "Cross, red" for image 22; empty for a number the set does not have.
QString Meaning(qint16 iNumber);

}  // namespace IconMeanings

}  // namespace twk
