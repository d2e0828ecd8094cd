// SPDX-License-Identifier: MIT
#include "LimitedTextBox.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QTextCursor>

namespace twk {

LimitedTextBox::LimitedTextBox(int iMaxLength, QWidget* pParent)
    : QPlainTextEdit(pParent), iMaxLength_(iMaxLength), iAllowed_(iMaxLength) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setTabChangesFocus(true);
  connect(document(), &QTextDocument::contentsChange, this, &LimitedTextBox::NoteChange);
  connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextBox::EnforceLimit);
}

QString LimitedTextBox::Text() const {
  // The raw text keeps no-break spaces, which the plain text turns into
  // ordinary spaces; only the block separators need translating.
  QString sText = document()->toRawText();
  sText.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  if (bCrLf_) sText.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return sText;
}

void LimitedTextBox::SetText(const QString& sText) {
  bCrLf_ = sText.contains(QStringLiteral("\r\n")) || !sText.contains(QLatin1Char('\n'));
  QString sShown = sText;
  sShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  bSetting_ = true;
  setPlainText(sShown);
  iAllowed_ = qMax(iMaxLength_, Length());
  bSetting_ = false;
}

int LimitedTextBox::Length() const {
  // Each break between blocks comes back as CR LF: two characters.
  const int iBreaks = bCrLf_ ? document()->blockCount() - 1 : 0;
  return document()->characterCount() - 1 + iBreaks;
}

int LimitedTextBox::UnitsAt(int iPosition) const {
  return bCrLf_ && document()->characterAt(iPosition) == QChar::ParagraphSeparator ? 2 : 1;
}

void LimitedTextBox::keyPressEvent(QKeyEvent* pEvent) {
  // Shift+Enter would put a Unicode line separator into the SQL, which the
  // server does not read as a line break: make it an ordinary one.
  if (pEvent->matches(QKeySequence::InsertLineSeparator)) {
    insertPlainText(QStringLiteral("\n"));
    return;
  }
  QPlainTextEdit::keyPressEvent(pEvent);
}

void LimitedTextBox::NoteChange(int iPosition, int, int iAdded) {
  iLastPosition_ = iPosition;
  iLastAdded_ = iAdded;
}

void LimitedTextBox::EnforceLimit() {
  if (bSetting_) return;
  const int iLength = Length();
  if (iLength <= iAllowed_) {
    // A stored text longer than the limit may shrink back towards it.
    iAllowed_ = qMax(iMaxLength_, qMin(iAllowed_, iLength));
    return;
  }
  // Cut the excess from the end of what was just typed or pasted.
  const int iExcess = iLength - iAllowed_;
  const int iEnd = qMin(iLastPosition_ + iLastAdded_, document()->characterCount() - 1);
  int iStart = iEnd;
  for (int iCut = 0; iStart > 0 && iCut < iExcess;) iCut += UnitsAt(--iStart);
  QTextCursor cursor(document());
  cursor.setPosition(iStart);
  cursor.setPosition(iEnd, QTextCursor::KeepAnchor);
  bSetting_ = true;
  cursor.removeSelectedText();
  bSetting_ = false;
  QTextCursor caret = textCursor();
  caret.setPosition(iStart);
  setTextCursor(caret);
}

}  // namespace twk
