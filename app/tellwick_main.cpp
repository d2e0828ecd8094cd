// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "EmbeddedDatabase.h"
#include "HostPlatform.h"
#include "HostWindow.h"
#include "LayoutReport.h"
#include "PasswordSource.h"
#include "ProductNotices.h"
#include "QtPlatform.h"
#include "RecordBrowser.h"
#include "TextRules.h"
#include "TimeLimit.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace {

QCommandLineOption Option(const char* sName, const char* sDescription, const char* sValueName,
                          const char* sDefault = nullptr) {
  QCommandLineOption option(QString::fromLatin1(sName), QString::fromUtf8(sDescription),
                            QString::fromLatin1(sValueName));
  if (sDefault) option.setDefaultValue(QString::fromUtf8(sDefault));
  return option;
}

struct ParserOptions {
  QCommandLineOption server, database, user, password, passwordFile, level, hostVersion, id,
      exitWhenShown, timeout, open, reportLayout;
};

ParserOptions ConfigureParser(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral(
      "Tellwick: the alert panel beside a record browser, as a host would show it.\n"
      "Without --server the embedded demo database in the user's data directory is used\n"
      "(created on first use) with the demo login. The password is read from --password,\n"
      "--password-file or the environment variable TWK_PASSWORD, in that order."));
  parser.addHelpOption();
  parser.addVersionOption();
  const auto server =
      Option("server", "SQL server: an ODBC data source, or a database file.", "NAME");
  const auto database = Option("database", "Database name.", "NAME", "DEMO");
  const auto user = Option("user", "SQL login.", "LOGIN", "MANAGER");
  const auto password = twk::PasswordSource::PasswordOption();
  const auto passwordFile = twk::PasswordSource::FileOption();
  const auto level =
      Option("level", "The user's system level, as the host gives it.", "LEVEL", "9 (sysadmin)");
  const auto hostVersion =
      Option("host-version", "The host version the controls are told.", "VERSION", "10.2.0");
  const auto id = Option("id", "Open this record first.", "ID");
  const QCommandLineOption exitWhenShown(
      QStringLiteral("exit-when-shown"),
      QStringLiteral("Quit as soon as the first page of alerts has been drawn (for timing)."));
  const auto timeout = Option("timeout", twk::TimeLimit::OptionDescription(), "SECONDS", "30");
  const auto open = Option("open", "The controls to open, comma-separated: panel, editor, preview.",
                           "CONTROLS", "panel");
  const QCommandLineOption reportLayout(
      QStringLiteral("report-layout"),
      QStringLiteral("Print where each part of the window landed on the screen, then quit."));
  parser.addOptions({server, database, user, password, passwordFile, level, hostVersion, id,
                     exitWhenShown, timeout, open, reportLayout});
  return {server,      database, user,          password, passwordFile, level,
          hostVersion, id,       exitWhenShown, timeout,  open,         reportLayout};
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const char* sSize : {"48", "128"}) {
    icon.addFile(
        QStringLiteral(":/tellwick/org.tellwick.Tellwick-%1.png").arg(QLatin1String(sSize)));
  }
  return icon;
}

bool IsHelpOrVersion(const QByteArray& sArgument) {
  return sArgument == "--help" || sArgument == "-h" || sArgument == "--help-all" ||
         sArgument == "--version" || sArgument == "-v";
}

// Whether a window system can be asked for; without one QApplication aborts.
bool HasDisplay(int argc, char** argv) {
  for (const char* sVariable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* sValue = std::getenv(sVariable);
    if (sValue && *sValue) return true;
  }
  for (int i = 1; i < argc; ++i) {
    if (QByteArray(argv[i]).startsWith("-platform")) return true;
  }
  return false;
}

int UsageError(QString sMessage) {
  if (sMessage.endsWith(QLatin1Char('.'))) sMessage.chop(1);  // Qt's texts end in one
  std::fprintf(stderr, "tellwick: %s; see --help\n", qUtf8Printable(sMessage));
  return 2;
}

// Checks the arguments left after Qt took its own: 0 when they are good.
int CheckArguments(QCommandLineParser& parser, const QStringList& arguments) {
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(
        QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
  }
  return 0;
}

// Help, version and usage errors need no display: without one, they are
// answered on the terminal before a window system is asked for. Returns the
// exit status, or -1 when the window is to be shown.
int AnswerOnTerminal(int argc, char** argv) {
  bool bAnswer = !HasDisplay(argc, argv);
  for (int i = 1; i < argc; ++i) bAnswer = bAnswer || IsHelpOrVersion(argv[i]);
  if (!bAnswer) return -1;
  QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Tellwick"));
  QCommandLineParser parser;
  ConfigureParser(parser);
  const bool bParsed = parser.parse(QCoreApplication::arguments());
  if (parser.isSet(QStringLiteral("help-all"))) {
    // With the toolkit's options, which only Qt's own printing lists.
    QCoreApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());
    parser.process(core);
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(qUtf8Printable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::fputs(qUtf8Printable(twk::ProductNotices::VersionText(
                   QStringLiteral("tellwick"), twk::modSubroutines::TwkVersionText())),
               stdout);
    return 0;
  }
  if (!bParsed) return UsageError(parser.errorText());
  if (const int iStatus = CheckArguments(parser, QCoreApplication::arguments())) return iStatus;
  std::fputs(
      "tellwick: no display to show the window on (DISPLAY is not set); "
      "tellwick-alerts --id ID prints a record's alerts on a terminal\n",
      stderr);
  return 1;
}

}  // namespace

bool OpenNamedControl(twk::HostWindow& window, const QString& sName) {
  if (sName == QStringLiteral("panel")) {
    return window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  }
  if (sName == QStringLiteral("editor")) {
    return window.OpenControl(QStringLiteral("TWK.ctlEditTWK"), Qt::BottomDockWidgetArea);
  }
  if (sName == QStringLiteral("preview")) {
    return window.OpenControl(QStringLiteral("TWK.ctlPreviewImages"), Qt::BottomDockWidgetArea);
  }
  return false;
}

int main(int argc, char** argv) {
  if (const int iStatus = AnswerOnTerminal(argc, argv); iStatus >= 0) return iStatus;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellwick"));
  QApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tellwick.Tellwick"));
  QApplication::setWindowIcon(ApplicationIcon());

  QCommandLineParser parser;
  const ParserOptions o = ConfigureParser(parser);
  if (const int iStatus = CheckArguments(parser, QApplication::arguments())) return iStatus;
  if (!twk::TimeLimit::SetFromText(parser.value(o.timeout))) {
    return UsageError(
        QStringLiteral("--timeout takes whole seconds, not \"%1\"").arg(parser.value(o.timeout)));
  }

  QString sPassword, sPasswordError;
  if (!twk::PasswordSource::Resolve(parser, o.password, o.passwordFile, sPassword,
                                    sPasswordError)) {
    std::fprintf(stderr, "tellwick: %s\n", qUtf8Printable(twk::TerminalText(sPasswordError)));
    return 2;
  }
  twk::HostOptions options{parser.value(o.server), parser.value(o.database),
                           parser.value(o.user),   sPassword,
                           parser.value(o.level),  parser.value(o.hostVersion)};
  if (options.sServer.isEmpty()) {
    try {
      options.sServer = twk::EmbeddedDatabase::EnsureDemoDatabase();
    } catch (const twk::TwkError& error) {
      std::fprintf(stderr, "tellwick: %s\n", qUtf8Printable(error.Description()));
      return 1;
    }
  }

  twk::HostWindow window(options);
  twk::QtPlatform platform(&window);
  // An action's program that gives up (xdg-open without a mail program, say)
  // would otherwise pass without a word.
  platform.SetFailedExitReporter([&window](const QString& sCommandLine, int iCode) {
    window.ShowStatus(QStringLiteral("The action ended with exit code %1: %2")
                          .arg(iCode)
                          .arg(sCommandLine.simplified().left(60)));
  });
  twk::HostPlatform hostPlatform(platform, [&window](const QString& s) { window.ShowStatus(s); });
  twk::ScopedPlatform installation(hostPlatform);
  window.show();
  for (const QString& sControl : parser.value(o.open).split(u',', Qt::SkipEmptyParts)) {
    if (!OpenNamedControl(window, sControl.trimmed())) {
      return UsageError(
          QStringLiteral("--open knows panel, editor and preview, not \"%1\"").arg(sControl));
    }
  }
  if (parser.isSet(o.id)) window.Browser()->Select(parser.value(o.id));
  if (parser.isSet(o.exitWhenShown)) {
    // The page is filled by now; let the window draw it once, then go.
    QTimer::singleShot(0, &application, &QApplication::quit);
  }
  if (parser.isSet(o.reportLayout)) twk::LayoutReport::PrintWhenSettled(window);
  return application.exec();
}
