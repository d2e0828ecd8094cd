// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace twk {

/// The icon set as the panel uses it: how many images, and image n.
namespace PanelIcons {

int Count();
/// Image n for 1 <= n <= Count(); a null picture otherwise.
QPixmap Picture(qint16 iNumber);

}  // namespace PanelIcons

}  // namespace twk
