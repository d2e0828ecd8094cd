#pragma once

#include <QPlainTextEdit>

namespace twk {

/// A multi-line text box that holds at most a given number of characters.
/// Typing and pasting stop at the limit; a longer text set from the
/// database is shown whole and may only get shorter, so nothing stored is
/// cut without the user doing it. Text comes back with the line breaks it
/// was given (CR LF stays CR LF).
class LimitedTextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LimitedTextBox(int iMaxLength, QWidget* pParent = nullptr);

  int MaxLength() const noexcept { return iMaxLength_; }
  QString Text() const;
  void SetText(const QString& sText);
  /// Characters as the limit counts them.
  int Length() const;

 private:
  void NoteChange(int iPosition, int iRemoved, int iAdded);
  void EnforceLimit();

  int iMaxLength_;
  int iAllowed_;
  bool bCrLf_ = false;
  bool bSetting_ = false;
  int iLastPosition_ = 0;
  int iLastAdded_ = 0;
};

}  // namespace twk
