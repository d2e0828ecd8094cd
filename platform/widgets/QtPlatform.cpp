// SPDX-License-Identifier: MIT
#include "QtPlatform.h"

#include "CommandLine.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

namespace twk {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtPlatform::ShowMessage(const QString& sText, const QString& sTitle,
                                      MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(ToQtIcon(icon), sTitle, sText,
                  buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                   : QMessageBox::Ok,
                  pParent_);
  // Texts come from the database and from alert definitions: shown as
  // written, never read as markup.
  box.setTextFormat(Qt::PlainText);
  // A question asks before a change that cannot be undone (a deletion):
  // Enter, or a key hit by mistake, must not answer Yes.
  if (buttons == MessageButtons::YesNo && icon == MessageIcon::Question) {
    box.setDefaultButton(QMessageBox::No);
  }
  const int iAnswer = box.exec();
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return iAnswer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtPlatform::SetClipboardText(const QString& sText) {
  QGuiApplication::clipboard()->setText(sText);
}

QString QtPlatform::ClipboardText() { return QGuiApplication::clipboard()->text(); }

CommandStart QtPlatform::StartCommand(const QString& sCommandLine) {
  if (!failedExitReporter_) return StartDetachedCommand(sCommandLine);
  const auto report = failedExitReporter_;
  return StartWatchedCommand(sCommandLine,
                             [report, sCommandLine](int iCode) { report(sCommandLine, iCode); });
}

bool QtPlatform::OpenWebAddress(const QString& sAddress) {
  return QDesktopServices::openUrl(QUrl(sAddress));
}

}  // namespace twk
