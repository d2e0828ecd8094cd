// SPDX-License-Identifier: MIT
#pragma once

#include <QPlainTextEdit>

namespace twk {

/// A multi-line text box that holds at most a given number of characters.
/// Typing and pasting stop at the limit; a longer text set from the
/// database is shown whole and may only get shorter, so nothing stored is
/// cut without the user doing it. Line breaks come back as CR LF, as a
/// Windows text box gives them and as the limit counts them (two
/// characters each), unless the text set from the database broke its lines
/// with line feeds alone.
class LimitedTextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LimitedTextBox(int iMaxLength, QWidget* pParent = nullptr);

  int MaxLength() const noexcept { return iMaxLength_; }
  QString Text() const;
  void SetText(const QString& sText);
  /// Characters as the limit counts them.
  int Length() const;

 protected:
  void keyPressEvent(QKeyEvent* pEvent) override;

 private:
  int UnitsAt(int iPosition) const;
  void NoteChange(int iPosition, int iRemoved, int iAdded);
  void EnforceLimit();

  int iMaxLength_;
  int iAllowed_;
  bool bCrLf_ = true;
  bool bSetting_ = false;
  int iLastPosition_ = 0;
  int iLastAdded_ = 0;
};

}  // namespace twk
