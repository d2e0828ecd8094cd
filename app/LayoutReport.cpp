// SPDX-License-Identifier: MIT
#include "LayoutReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

#include "ControlScrollArea.h"

namespace twk {

namespace {

QString Rect(const QRect& rect) {
  return QStringLiteral("%1 %2 %3 %4")
      .arg(rect.x())
      .arg(rect.y())
      .arg(rect.width())
      .arg(rect.height());
}

QRect OnScreen(const QWidget& widget) {
  return {widget.mapToGlobal(QPoint(0, 0)), widget.size()};
}

// A window manager frames a window some time after it is shown, and the
// window then fits itself to the screen again: on a loaded machine that
// took longer than any fixed wait. The layout counts as settled once it
// reads the same half a second apart, with no move or resize between; a
// window that never settles is reported as it stands after ten seconds.
class Settling : public QObject {
 public:
  explicit Settling(QMainWindow& window) : QObject(&window), window_(window) {
    since_.start();
    quiet_.setSingleShot(true);
    quiet_.setInterval(500);
    connect(&quiet_, &QTimer::timeout, this, [this] {
      const QStringList lines = LayoutReport::Lines(window_);
      if (lines != lastLines_ && StillWaiting()) {
        lastLines_ = lines;
        quiet_.start();
        return;
      }
      for (const QString& sLine : lines) {
        std::printf("%s\n", qUtf8Printable(sLine));
      }
      std::fflush(stdout);
      QApplication::quit();
    });
    window.installEventFilter(this);
    quiet_.start();
  }

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
    const bool bMoved = pEvent->type() == QEvent::Move || pEvent->type() == QEvent::Resize;
    if (bMoved && StillWaiting()) quiet_.start();
    return QObject::eventFilter(pWatched, pEvent);
  }

 private:
  bool StillWaiting() const { return since_.elapsed() < 10000; }

  QMainWindow& window_;
  QTimer quiet_;
  QStringList lastLines_;
  QElapsedTimer since_;
};

}  // namespace

void LayoutReport::PrintWhenSettled(QMainWindow& window) {
  new Settling(window);  // owned by the window
}

QStringList LayoutReport::Lines(const QMainWindow& window) {
  QStringList lines;
  if (window.screen()) lines << QStringLiteral("screen ") + Rect(window.screen()->geometry());
  lines << QStringLiteral("window ") + Rect(window.frameGeometry());
  if (window.statusBar()->isVisible()) {
    lines << QStringLiteral("statusbar ") + Rect(OnScreen(*window.statusBar()));
  }
  for (const ControlScrollArea* pArea : window.findChildren<ControlScrollArea*>()) {
    if (!pArea->isVisible() || !pArea->Control()) continue;
    const QString sName = QString::fromLatin1(pArea->Control()->metaObject()->className());
    const QSize design = pArea->Control()->sizeHint();
    const QScrollBar* pAcross = pArea->horizontalScrollBar();
    const QScrollBar* pDown = pArea->verticalScrollBar();
    lines << QStringLiteral("control %1 %2 %3 %4 %5 %6")
                 .arg(sName, Rect(OnScreen(*pArea->viewport())))
                 .arg(design.width())
                 .arg(design.height())
                 .arg(int(pAcross->isVisible()))
                 .arg(int(pDown->isVisible()));
    for (const QScrollBar* pBar : {pAcross, pDown}) {
      if (pBar->isVisible())
        lines << QStringLiteral("scrollbar %1 ").arg(sName) + Rect(OnScreen(*pBar));
    }
  }
  return lines;
}

}  // namespace twk
