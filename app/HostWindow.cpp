#include "HostWindow.h"

#include "AboutBox.h"
#include "ConnectionSettings.h"
#include "ControlRegistry.h"
#include "HostedControl.h"
#include "PlatformServices.h"
#include "RecordBrowser.h"
#include "XtenderControl.h"

#include <QApplication>
#include <QDockWidget>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace twk {

HostWindow::HostWindow(const HostOptions& options, QWidget* pParent)
    : QMainWindow(pParent), pBrowser_(new RecordBrowser(this)) {
  session_.SetValue(QStringLiteral("lvSession.SQLHostName"), options.sServer);
  session_.SetValue(QStringLiteral("lvSession.SQLDatabase"), options.sDatabase);
  session_.SetValue(QStringLiteral("lvSession.SQLUserId"), options.sUser);
  session_.SetValue(QStringLiteral("lvSession.SQLUserPassword"), options.sPassword);
  session_.SetValue(QStringLiteral("lvSession.LevelSystem"), options.sLevel);
  session_.SetValue(QStringLiteral("lvSession.LevelMembership"), options.sLevel);
  session_.SetValue(QStringLiteral("lvSession.MasterVersion"), options.sHostVersion);

  setWindowTitle(QStringLiteral("Tellwick - %1 as %2").arg(options.sServer, options.sUser));
  setCentralWidget(pBrowser_);
  connect(pBrowser_, &RecordBrowser::CurrentIdChanged, this, [this](const QString& sId) {
    session_.SetCurrentId(sId);
    statusBar()->showMessage(sId.isEmpty() ? QStringLiteral("No current record")
                                           : QStringLiteral("Current record: ") + sId);
  });
  CreateMenus();

  ConnectionSettings settings;
  settings.sDataSource = options.sServer;
  settings.sInitialCatalog = options.sDatabase;
  settings.sUserId = options.sUser;
  settings.sPassword = options.sPassword;
  const QString sError = pBrowser_->Load(settings);
  statusBar()->showMessage(sError.isEmpty() ? QStringLiteral("No current record")
                                            : QStringLiteral("The records could not be read"));
  resize(980, 640);
}

HostWindow::~HostWindow() {
  // The controls still raise events while they are destroyed, so they go
  // before the host objects that answer them.
  for (const auto& hosted : hosted_) {
    QDockWidget* pDock = hosted->Dock();
    hosted->CloseSelf();
    delete pDock;
  }
}

void HostWindow::CreateMenus() {
  QMenu* pFile = menuBar()->addMenu(QStringLiteral("&File"));
  pFile->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
  QMenu* pAlerts = menuBar()->addMenu(QStringLiteral("&Alerts"));
  pAlerts->addAction(QStringLiteral("New alert &panel"), QKeySequence(QStringLiteral("Ctrl+N")),
                     this, [this] { OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea); });
  pAlerts->addAction(QStringLiteral("Alert &editor"), QKeySequence(QStringLiteral("Ctrl+E")), this,
                     [this] {
                       if (!OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea)) {
                         Platform::Services().ShowMessage(
                             QStringLiteral("The alert editor is not part of this build."),
                             QStringLiteral("Tellwick"), MessageButtons::Ok,
                             MessageIcon::Information);
                       }
                     });
  pAlerts->addAction(QStringLiteral("&Icon preview"), QKeySequence(QStringLiteral("Ctrl+I")), this,
                     [this] { OpenControl(QStringLiteral("TWK.ctlPreviewImages"), Qt::BottomDockWidgetArea); });
  AboutBox::AddHelpMenu(menuBar());
}

QWidget* HostWindow::OpenControl(const QString& sClassName, Qt::DockWidgetArea area) {
  auto* pDock = new QDockWidget(this);
  pDock->setObjectName(sClassName);
  pDock->setAttribute(Qt::WA_DeleteOnClose);
  QWidget* pControl = ControlRegistry::Instance().Create(sClassName, pDock);
  auto* pXtender = dynamic_cast<XtenderControl*>(pControl);
  if (!pXtender) {
    delete pDock;
    return nullptr;
  }
  // Until the control raises a title of its own.
  static const QMap<QString, QString> titles = {
      {QStringLiteral("TWK.ctlTWK"), QStringLiteral("Alerts")},
      {QStringLiteral("TWK.ctlEditTWK"), QStringLiteral("Alert editor")},
      {QStringLiteral("TWK.ctlPreviewImages"), QStringLiteral("Icon preview")}};
  pDock->setWindowTitle(titles.value(sClassName, sClassName));
  pDock->setWidget(pControl);
  addDockWidget(area, pDock);
  // Docks start as narrow as they can; a control wants its designed size.
  const QSize designed = pControl->sizeHint();
  if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) {
    resizeDocks({pDock}, {designed.width() + 8}, Qt::Horizontal);
  } else {
    // Room for a dock below without squeezing the panel beside the records.
    if (!isMaximized() && !isFullScreen() && screen()) {
      const int iRoom = screen()->availableGeometry().height() - frameGeometry().height();
      resize(width(), height() + qMin(designed.height(), qMax(0, iRoom)));
    }
    resizeDocks({pDock}, {designed.height() + 8}, Qt::Vertical);
  }
  hosted_.push_back(std::make_unique<HostedControl>(session_, pDock, pControl));
  pXtender->SetHost(hosted_.back().get());
  pDock->show();
  pXtender->XtenderInit();
  return pControl;
}

}  // namespace twk
