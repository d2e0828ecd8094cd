// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

namespace twk {
namespace {

/// An X server of its own on a free display number, gone with the object.
/// The server picks the number and writes it once it takes connections: a
/// number guessed from the lock files could meet a server still going away.
class XvfbScreen {
 public:
  XvfbScreen(const QString& sProgram, const QString& sSize) {
    server_ = std::make_unique<QProcess>();
    server_->start(sProgram,
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), sSize + QStringLiteral("x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
    if (!server_->waitForStarted(5000)) return;
    QByteArray number;
    while (!number.endsWith('\n') && server_->waitForReadyRead(20000)) {
      number += server_->readAllStandardOutput();
    }
    if (number.endsWith('\n')) sDisplay_ = u':' + QString::fromLatin1(number.trimmed());
    if (sDisplay_.isEmpty()) Stop();
  }
  ~XvfbScreen() { Stop(); }
  const QString& Display() const { return sDisplay_; }

 private:
  void Stop() {
    if (!server_ || server_->state() == QProcess::NotRunning) return;
    server_->terminate();
    server_->waitForFinished(5000);
  }

  std::unique_ptr<QProcess> server_;
  QString sDisplay_;
};

QRect RectAt(const QStringList& fields, int iFirst) {
  return {fields[iFirst].toInt(), fields[iFirst + 1].toInt(), fields[iFirst + 2].toInt(),
          fields[iFirst + 3].toInt()};
}

/// What is off the screen or cut without a scroll bar, from the program's
/// report of where its parts landed.
QStringList Faults(const QString& sReport) {
  QStringList faults;
  QRect screen;
  int iControls = 0;
  bool bStatusBar = false;
  for (const QString& sLine : sReport.split(u'\n', Qt::SkipEmptyParts)) {
    const QStringList fields = sLine.split(u' ');
    const QString& sKind = fields[0];
    if (sKind == QStringLiteral("screen")) {
      screen = RectAt(fields, 1);
      continue;
    }
    const int iFirst =
        sKind == QStringLiteral("control") || sKind == QStringLiteral("scrollbar") ? 2 : 1;
    const QRect part = RectAt(fields, iFirst);
    if (part.isEmpty() || !screen.contains(part)) faults << sLine + QStringLiteral(": off-screen");
    bStatusBar = bStatusBar || sKind == QStringLiteral("statusbar");
    if (sKind != QStringLiteral("control")) continue;
    ++iControls;
    const bool bAcross = part.width() >= fields[6].toInt() || fields[8] == QStringLiteral("1");
    const bool bDown = part.height() >= fields[7].toInt() || fields[9] == QStringLiteral("1");
    if (!bAcross || !bDown) faults << sLine + QStringLiteral(": cut without a scroll bar");
  }
  if (screen.isEmpty()) faults << QStringLiteral("no screen reported");
  if (!bStatusBar) faults << QStringLiteral("no status bar");
  if (iControls != 3) faults << QStringLiteral("%1 controls shown, not 3").arg(iControls);
  return faults;
}

// A window manager names itself on the root window once it has taken the
// screen; a window shown before that gets no frame. A fixed wait was too
// short on a loaded machine.
bool WindowManagerHasTheScreen(const QString& sXprop, const QString& sDisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), sDisplay);
  for (int iWait = 0; iWait < 200; ++iWait) {
    QProcess xprop;
    xprop.setProcessEnvironment(environment);
    xprop.start(sXprop, {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id #")) {
      return true;
    }
    QThread::msleep(50);
  }
  return false;
}

TEST(SmallScreens, EveryControlTheStatusBarAndEachScrollBarStayOnTheScreen) {
  const QString sXvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
  if (sXvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
  // A window manager's frame arrives only after the window is shown, and
  // its title bar then pushes the bottom of a window sized without it down.
  const QString sManager = QStandardPaths::findExecutable(QStringLiteral("openbox"));
  const QString sXprop = QStandardPaths::findExecutable(QStringLiteral("xprop"));
  const struct {
    const char* sSize;
    const char* sScale;
    bool bManager;
  } screens[] = {{"1280x720", "1", false}, {"1366x768", "1.25", false}, {"1024x768", "1.5", false},
                 {"800x600", "1", false},  {"1024x768", "1.5", true},   {"1280x720", "1", true}};
  for (const auto& size : screens) {
    if (size.bManager && (sManager.isEmpty() || sXprop.isEmpty())) {
      ADD_FAILURE() << "openbox or xprop is not installed (Debian packages openbox, x11-utils)";
      continue;
    }
    XvfbScreen server(sXvfb, QString::fromLatin1(size.sSize));
    ASSERT_FALSE(server.Display().isEmpty()) << "Xvfb did not start for " << size.sSize;
    QProcess manager;
    if (size.bManager) {
      QProcessEnvironment managerEnvironment = QProcessEnvironment::systemEnvironment();
      managerEnvironment.insert(QStringLiteral("DISPLAY"), server.Display());
      manager.setProcessEnvironment(managerEnvironment);
      manager.start(sManager, {});
      ASSERT_TRUE(manager.waitForStarted(5000));
      ASSERT_TRUE(WindowManagerHasTheScreen(sXprop, server.Display()))
          << size.sSize << " on " << server.Display().toStdString() << ": "
          << manager.readAllStandardError().toStdString();
    }
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), server.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(size.sScale));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TELLWICK),
                  {QStringLiteral("--open"), QStringLiteral("panel,editor,preview"),
                   QStringLiteral("--report-layout")});
    ASSERT_TRUE(program.waitForFinished(60000)) << size.sSize;
    const QString sReport = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(Faults(sReport).join(u'\n').toStdString(), "")
        << size.sSize << " at " << size.sScale << (size.bManager ? " with openbox" : "") << ":\n"
        << sReport.toStdString();
    if (size.bManager) {
      manager.terminate();
      manager.waitForFinished(5000);
    }
  }
}

}  // namespace
}  // namespace twk
