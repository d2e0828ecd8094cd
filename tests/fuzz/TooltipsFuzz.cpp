// SPDX-License-Identifier: MIT
// Tooltips of an alert detail item filled from database text: whatever the
// text, a person reads it as written (the toolkit never takes it for
// markup, so no image is fetched, no link or format appears), the keyword
// label shows plain text, and a keyword too long for its label ends early
// with the whole keyword leading the label's tooltip.
#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>

#include "AlertOutput.h"
#include "FuzzInput.h"
#include "ctlAlertDetail.h"

namespace {

// Only the characters a person sees: the toolkit shows blanks, tabs and
// line breaks of a text it renders as markup in its own way, and puts
// invisible joiners before an ellipsis that follows a joining script.
QString Visible(const QString& sText) {
  QString sVisible;
  for (const QChar c : sText) {
    if (!c.isSpace() && c.category() != QChar::Other_Format) sVisible += c;
  }
  return sVisible;
}

// What the toolkit's tooltip shows for a widget's tooltip text: a text
// that passes for markup is rendered, and then must hold nothing but text.
QString ShownToolTip(const QString& sToolTip, bool* pRendered) {
  *pRendered = Qt::mightBeRichText(sToolTip);
  if (!*pRendered) return sToolTip;
  QTextDocument document;
  document.setHtml(sToolTip);
  TWK_FUZZ_REQUIRE(document.rootFrame()->childFrames().isEmpty());
  const QTextCharFormat plain;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    TWK_FUZZ_REQUIRE(block.textList() == nullptr);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      TWK_FUZZ_REQUIRE(!format.isImageFormat() && !format.isAnchor());
      TWK_FUZZ_REQUIRE(!format.hasProperty(QTextFormat::FontWeight) ||
                       format.fontWeight() == QFont::Normal);
      TWK_FUZZ_REQUIRE(!format.fontItalic() && !format.fontUnderline() && !format.fontStrikeOut());
      TWK_FUZZ_REQUIRE(!format.hasProperty(QTextFormat::ForegroundBrush));
      TWK_FUZZ_REQUIRE(!format.hasProperty(QTextFormat::FontPointSize) &&
                       !format.hasProperty(QTextFormat::FontPixelSize));
    }
  }
  return document.toPlainText();
}

void RequireShownAsWritten(const QWidget* pWidget, const QString& sText) {
  bool bRendered = false;
  const QString sShown = ShownToolTip(pWidget->toolTip(), &bRendered);
  if (bRendered) {
    TWK_FUZZ_REQUIRE(Visible(sShown) == Visible(sText));
  } else {
    TWK_FUZZ_REQUIRE(sShown == sText);
  }
}

// Made once the run starts. Its destructor is registered after the
// toolkit's own clean-up, so it runs first at exit, while the toolkit is
// still there.
struct Item {
  QApplication application;
  twk::ctlAlertDetail detail;
  Item(int& iArgc, char** ppArgv) : application(iArgc, ppArgv) {}
};

Item* pItem = nullptr;

// The input's texts, cut at NUL bytes: keyword, tooltip, the two button
// descriptions, description.
QStringList Fields(const uint8_t* pData, size_t iSize) {
  const QByteArray bytes(reinterpret_cast<const char*>(pData), qsizetype(iSize));
  QStringList fields;
  for (const QByteArray& field : bytes.split('\0')) fields.append(QString::fromUtf8(field));
  while (fields.size() < 5) fields.append(QString());
  return fields;
}

}  // namespace

// fontconfig keeps its configuration behind encoded offsets, which the
// leak checker libFuzzer runs between inputs cannot follow; it frees them
// at exit. Only that library is exempt (a fast unwind names no function).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static Item item(*pArgc, *pArgv);
  pItem = &item;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize) {
  twk::ctlAlertDetail& detail = pItem->detail;
  const QStringList fields = Fields(pData, iSize);
  twk::AlertOutput alert;
  alert.sEventType = QStringLiteral("ID");
  alert.sKeyValue = QStringLiteral("101");
  alert.sKeyword = fields[0];
  alert.sTooltipText = fields[1];
  alert.sClipboardDescription = fields[2];
  alert.sActionDescription = fields[3];
  alert.sDescription = fields[4];
  detail.SetAll(alert);

  RequireShownAsWritten(detail.picAlert(), alert.sTooltipText);
  RequireShownAsWritten(detail.cmdClip(), detail.ClipboardDescription());
  RequireShownAsWritten(detail.cmdAction(), detail.ActionDescription());
  TWK_FUZZ_REQUIRE(detail.ClipboardDescription() ==
                   (alert.sClipboardDescription.isEmpty()
                        ? twk::DetailRules::DefaultClipboardDescription()
                        : alert.sClipboardDescription));

  const QLabel* pKeyword = detail.lblKeyword();
  TWK_FUZZ_REQUIRE(pKeyword->textFormat() == Qt::PlainText);
  const QString sShown = pKeyword->text();
  if (sShown == alert.sKeyword) {
    RequireShownAsWritten(pKeyword, alert.sTooltipText);
  } else {
    // Cut short: what shows is the start of the keyword (its last line's
    // blanks closed up), with an ellipsis where it stops. The toolkit takes
    // U+009C for the separator of a text's shorter variants and shows the
    // first that fits, which need not be the start.
    QString sStart = sShown;
    if (sStart.endsWith(QChar(0x2026))) sStart.chop(1);
    const bool bStart = Visible(alert.sKeyword).startsWith(Visible(sStart));
    if (!bStart) {
      std::fprintf(stderr, "keyword %s shown as %s\n",
                   alert.sKeyword.toUtf8().toPercentEncoding().constData(),
                   sShown.toUtf8().toPercentEncoding().constData());
    }
    TWK_FUZZ_REQUIRE(bStart || alert.sKeyword.contains(QChar(0x9c)));
    RequireShownAsWritten(pKeyword, alert.sTooltipText.isEmpty()
                                        ? alert.sKeyword
                                        : alert.sKeyword + u'\n' + alert.sTooltipText);
  }
  return 0;
}
