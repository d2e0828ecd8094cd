// SPDX-License-Identifier: MIT
#include "ctlAlertDetail.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QTextLayout>
#include <QtMath>

#include "DetailWindowHook.h"
#include "FramedButton.h"
#include "PlatformServices.h"
#include "Steps.h"
#include "Twips.h"

namespace twk {

namespace {

const QString sItemModule = QStringLiteral("ctlAlertDetail");

// Any 32 x 32 picture will do until the container sets one of its own.
QPixmap DefaultAlertIcon() {
  // Drawn in the screen's own pixels: a 32-pixel drawing shown on a scaled
  // screen would be enlarged and blurred.
  const qreal dRatio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap picture(qCeil(32 * dRatio), qCeil(32 * dRatio));
  picture.setDevicePixelRatio(dRatio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(255, 204, 0));
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawPolygon(QPolygon({QPoint(16, 2), QPoint(30, 29), QPoint(2, 29)}));
  painter.setFont(QFont(QStringLiteral("Arial"), 14, QFont::Bold));
  painter.drawText(QRect(0, 8, 32, 22), Qt::AlignCenter, QStringLiteral("!"));
  return picture;
}

QPushButton* MakeButton(QWidget* pParent, const QString& sCaption, bool bBold,
                        const QString& sToolTip) {
  // Drawn by the item itself: the look that the button rule gives it (its
  // background colour) with a border, hover, press and focus of its own.
  auto* pButton = new FramedButton(sCaption, pParent);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(9);
  font.setBold(bBold);
  pButton->setFont(font);
  pButton->setToolTip(sToolTip);
  return pButton;
}

// The icon area and the label keep their own background, so that the flash
// of a clipboard copy shows only the item's uncovered surface and the
// keyword stays readable during it.
void FillWithWindowBackground(QWidget* pWidget) {
  QPalette widgetPalette = pWidget->palette();
  widgetPalette.setColor(QPalette::Window, DetailRules::ColourOf(SystemColour::WindowBackground));
  pWidget->setPalette(widgetPalette);
  pWidget->setAutoFillBackground(true);
}

QLabel* MakePicture(QWidget* pParent) {
  auto* pPicture = new QLabel(pParent);
  pPicture->setObjectName(QStringLiteral("picAlert"));
  pPicture->setPixmap(DefaultAlertIcon());
  pPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FillWithWindowBackground(pPicture);
  return pPicture;
}

QLabel* MakeKeywordLabel(QWidget* pParent) {
  auto* pLabel = new QLabel(QStringLiteral("..."), pParent);
  pLabel->setObjectName(QStringLiteral("lblKeyword"));
  QFont labelFont(QStringLiteral("Arial"));
  labelFont.setPointSizeF(8.25);
  pLabel->setFont(labelFont);
  pLabel->setWordWrap(true);
  // The keyword comes from an alert definition and is shown as written.
  pLabel->setTextFormat(Qt::PlainText);
  pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FillWithWindowBackground(pLabel);
  QPalette labelPalette = pLabel->palette();
  labelPalette.setColor(QPalette::WindowText, DetailRules::ColourOf(SystemColour::WindowText));
  pLabel->setPalette(labelPalette);
  return pLabel;
}

}  // namespace

ctlAlertDetail::ctlAlertDetail(QWidget* pParent) : QWidget(pParent) {
  setAutoFillBackground(true);
  SetSurfaceColour(SystemColour::WindowBackground);
  CreateWidgets();
  PlaceWidgets();
  HookWindow();
  ClearAll();
}

ctlAlertDetail::~ctlAlertDetail() {
  UnhookWindow();
}

void ctlAlertDetail::CreateWidgets() {
  cmdAction_ = MakeButton(this, QStringLiteral("!"), true,
                          QStringLiteral("Perform a predefined action associated with this alert"));
  cmdAction_->setObjectName(QStringLiteral("cmdAction"));
  cmdClip_ = MakeButton(
      this, QStringLiteral("C"), false,
      QStringLiteral("Copy predefined information from this alert to the Windows clipboard"));
  cmdClip_->setObjectName(QStringLiteral("cmdClip"));
  // "!" and "C" say nothing when read out; the tooltips follow as the
  // buttons' descriptions.
  cmdAction_->setAccessibleName(QStringLiteral("Perform action"));
  cmdClip_->setAccessibleName(QStringLiteral("Copy to clipboard"));
  picAlert_ = MakePicture(this);
  lblKeyword_ = MakeKeywordLabel(this);
  // Gestures of the children are read here; the hook, installed later, sees
  // the label's events first.
  for (QWidget* pChild : {static_cast<QWidget*>(cmdAction_), static_cast<QWidget*>(cmdClip_),
                          static_cast<QWidget*>(picAlert_), static_cast<QWidget*>(lblKeyword_)}) {
    pChild->installEventFilter(this);
  }
  setTabOrder(picAlert_, lblKeyword_);
  setTabOrder(lblKeyword_, cmdAction_);
  setTabOrder(cmdAction_, cmdClip_);
}

void ctlAlertDetail::PlaceWidgets() {
  const int iDpi = logicalDpiX();
  cmdAction_->setGeometry(Twips::ToPixels(0, 0, 255, 315, iDpi));
  cmdClip_->setGeometry(Twips::ToPixels(0, 300, 255, 315, iDpi));
  picAlert_->setGeometry(Twips::ToPixels(300, 60, 480, 480, iDpi));
  lblKeyword_->setGeometry(Twips::ToPixels(840, 0, 1275, 615, iDpi));
  cmdAction_->raise();
  resize(sizeHint());
}

QSize ctlAlertDetail::sizeHint() const {
  return QSize(Twips::ToPixels(2160, logicalDpiX()), Twips::ToPixels(615, logicalDpiY()));
}

void ctlAlertDetail::SetSurfaceColour(SystemColour colour) {
  QPalette surfacePalette = palette();
  surfacePalette.setColor(QPalette::Window, DetailRules::ColourOf(colour));
  setPalette(surfacePalette);
}

void ctlAlertDetail::ClearAll() {
  // Each setter on its own step: a failing one leaves the rest applied.
  Steps steps(sItemModule, QStringLiteral("ClearAll"), OnError::SkipSilently);
  steps.Run(100, [&] { SetVisible(0); });
  steps.Run(110, [&] { SetSeqn(0); });
  steps.Run(120, [&] { SetAlertType(QString()); });
  steps.Run(130, [&] { SetKeyValue(QString()); });
  steps.Run(140, [&] { SetRank(0); });
  steps.Run(150, [&] { SetIcon(-1); });
  steps.Run(160, [&] { SetKeyword(QString()); });
  steps.Run(170, [&] { SetDescription(DetailRules::ClearedDescription()); });
  steps.Run(180, [&] { SetToolTipText(QString()); });
  steps.Run(190, [&] { SetTitleText(QString()); });
  steps.Run(200, [&] { SetClipboardText(QString()); });
  steps.Run(210, [&] { SetClipboardDescription(QString()); });
  steps.Run(220, [&] { SetActionText(QString()); });
  steps.Run(230, [&] { SetActionDescription(QString()); });
  steps.Run(240, [&] { SetAutoPopup(0); });
  steps.Run(250, [&] { SetAutoClipboard(0); });
  steps.Run(260, [&] { SetAutoAction(0); });
}

void ctlAlertDetail::SetAll(const AlertOutput& aoOutput) {
  // The keyword goes before the title (an empty title falls back to it) and
  // Visible comes last so that it shows both buttons whatever their texts.
  Steps steps(sItemModule, QStringLiteral("SetAll"), OnError::SkipSilently);
  steps.Run(100, [&] { SetSeqn(aoOutput.lSeqn); });
  steps.Run(110, [&] { SetAlertType(aoOutput.sEventType); });
  steps.Run(120, [&] { SetKeyValue(aoOutput.sKeyValue); });
  steps.Run(130, [&] { SetRank(aoOutput.iRank); });
  steps.Run(140, [&] { SetIcon(aoOutput.iIcon); });
  steps.Run(150, [&] { SetKeyword(aoOutput.sKeyword); });
  steps.Run(160, [&] { SetDescription(aoOutput.sDescription); });
  steps.Run(170, [&] { SetToolTipText(aoOutput.sTooltipText); });
  steps.Run(180, [&] { SetTitleText(aoOutput.sTitleText); });
  steps.Run(190, [&] { SetClipboardText(aoOutput.sClipboardText); });
  steps.Run(200, [&] { SetClipboardDescription(aoOutput.sClipboardDescription); });
  steps.Run(210, [&] { SetActionText(aoOutput.sActionText); });
  steps.Run(220, [&] { SetActionDescription(aoOutput.sActionDescription); });
  steps.Run(230, [&] { SetAutoPopup(aoOutput.bAutoPopup); });
  steps.Run(240, [&] { SetAutoClipboard(aoOutput.bAutoClipboard); });
  steps.Run(250, [&] { SetAutoAction(aoOutput.bAutoAction); });
  steps.Run(260, [&] { SetVisible(DetailRules::kTrue); });
}

void ctlAlertDetail::SetVisible(qint16 bValue) {
  bVisible_ = bValue;
  const bool bShow = bValue != 0;
  cmdAction_->setVisible(bShow);
  cmdClip_->setVisible(bShow);
  picAlert_->setVisible(bShow);
  lblKeyword_->setVisible(bShow);
}

void ctlAlertDetail::SetTWKImage(const QPixmap& picture) {
  Steps steps(sItemModule, QStringLiteral("Image"), OnError::Report,
              [](const TwkError& error, const StepFailure& where) {
                Platform::Services().ShowMessage(DetailRules::ImageReportText(error, where.iLabel),
                                                 DetailRules::DefaultTitle(), MessageButtons::Ok,
                                                 MessageIcon::None);
              });
  steps.Run(100, [&] { picAlert_->setPixmap(picture); });
}

void ctlAlertDetail::SetKeyword(const QString& sValue) {
  sKeyword_ = sValue;
  ShowKeyword();
}

void ctlAlertDetail::SetToolTipText(const QString& sValue) {
  sToolTipText_ = sValue;
  picAlert_->setToolTip(DetailRules::ToolTipAsShown(sValue));
  ShowKeyword();
}

void ctlAlertDetail::ShowKeyword() {
  // A keyword longer than the label ends at the last whole line with an
  // ellipsis, never cut through a line; the label's tooltip then leads with
  // the whole keyword.
  const QString sShown = Elided(sKeyword_, lblKeyword_->font(), lblKeyword_->size());
  lblKeyword_->setText(sShown);
  QString sTip = sToolTipText_;
  if (sShown != sKeyword_) sTip = sTip.isEmpty() ? sKeyword_ : sKeyword_ + u'\n' + sTip;
  lblKeyword_->setToolTip(DetailRules::ToolTipAsShown(sTip));
}

// A definition's keyword is mostly the same for every record it alerts for,
// and SetAll shows each keyword twice (with the keyword, then with its
// tooltip): laying the text out is what costs, so each result is kept for
// its text, font and size. The items all live on the user-interface thread.
QString ctlAlertDetail::Elided(const QString& sText, const QFont& font, const QSize& area) {
  static QHash<QString, QString> elided;
  const QString sKey = sText + QChar(0) + font.key() + QChar(0) + QString::number(area.width()) +
                       u'x' + QString::number(area.height());
  const auto found = elided.constFind(sKey);
  if (found != elided.cend()) return *found;
  if (elided.size() >= 1024) elided.clear();  // only ever costs the layouts again
  return *elided.insert(sKey, ElideToLines(sText, font, area));
}

QString ctlAlertDetail::ElideToLines(const QString& sText, const QFont& font, const QSize& area) {
  const QFontMetrics metrics(font);
  QTextLayout layout(sText, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  int iHeight = 0;
  int iLastStart = 0;
  bool bMore = false;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(area.width());
    if (iHeight + metrics.height() > area.height()) {
      bMore = true;
      break;
    }
    iHeight += metrics.height();
    iLastStart = line.textStart();
  }
  layout.endLayout();
  if (!bMore) return sText;
  // The last line that fits takes the ellipsis, shortened until it fits.
  const QString sLast =
      metrics.elidedText(sText.mid(iLastStart).simplified(), Qt::ElideRight, area.width());
  return sText.left(iLastStart) + sLast;
}

void ctlAlertDetail::SetTitleText(const QString& sValue) {
  sTitleText_ = DetailRules::TitleOrKeyword(sValue, sKeyword_);
}

void ctlAlertDetail::SetClipboardText(const QString& sValue) {
  // Storing comes first, so a failing button update leaves the text stored.
  sClipboardText_ = DetailRules::TrimSpaces(sValue);
  try {
    Steps steps(sItemModule, QStringLiteral("ClipboardText"), OnError::PassOn);
    steps.Run(110, [&] { ApplyButtonRule(cmdClip_, sClipboardText_); });
  } catch (const TwkError& error) {
    throw DetailRules::SetterFailure(error, QStringLiteral("ClipboardText"), 110);
  }
}

void ctlAlertDetail::SetClipboardDescription(const QString& sValue) {
  sClipboardDescription_ =
      DetailRules::DescriptionOrDefault(sValue, DetailRules::DefaultClipboardDescription());
  cmdClip_->setToolTip(DetailRules::ToolTipAsShown(sClipboardDescription_));
}

void ctlAlertDetail::SetActionText(const QString& sValue) {
  sActionText_ = DetailRules::TrimSpaces(sValue);
  try {
    Steps steps(sItemModule, QStringLiteral("ActionText"), OnError::PassOn);
    steps.Run(110, [&] { ApplyButtonRule(cmdAction_, sActionText_); });
  } catch (const TwkError& error) {
    throw DetailRules::SetterFailure(error, QStringLiteral("ActionText"), 110);
  }
}

void ctlAlertDetail::SetActionDescription(const QString& sValue) {
  sActionDescription_ =
      DetailRules::DescriptionOrDefault(sValue, DetailRules::DefaultActionDescription());
  cmdAction_->setToolTip(DetailRules::ToolTipAsShown(sActionDescription_));
}

bool ctlAlertDetail::HasOwnColour(const QPalette& palette, const QColor& colour) {
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Window}) {
      if (!palette.isBrushSet(group, role) || palette.color(group, role) != colour) return false;
    }
  }
  return true;
}

void ctlAlertDetail::ApplyButtonRule(QPushButton* pButton, const QString& sStoredText) {
  const DetailButtonLook look = DetailRules::ButtonLookFor(sStoredText);
  pButton->setVisible(look.bShown);
  pButton->setEnabled(look.bEnabled);
  const QColor colour = DetailRules::ColourOf(look.background);
  // Every item is cleared and filled again at each record change; setting a
  // palette resolves it again even when it is the one set last time.
  if (HasOwnColour(pButton->palette(), colour)) return;
  QPalette buttonPalette = pButton->palette();
  buttonPalette.setColor(QPalette::Button, colour);
  buttonPalette.setColor(QPalette::Window, colour);
  pButton->setPalette(buttonPalette);
}

void ctlAlertDetail::SetMenuPresenter(MenuPresenter presenter) {
  menuPresenter_ = std::move(presenter);
}

}  // namespace twk
