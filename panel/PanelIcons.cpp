#include "PanelIcons.h"

#include "IconLibrary.h"

namespace twk::PanelIcons {

namespace {

// Created the first time a panel needs an icon, like the hidden resource
// form that holds the image list.
const IconLibrary& ilstIcons() {
  static const IconLibrary icons;
  return icons;
}

}  // namespace

int Count() { return ilstIcons().Count(); }

QPixmap Picture(qint16 iNumber) { return ilstIcons().Picture(iNumber); }

}  // namespace twk::PanelIcons
