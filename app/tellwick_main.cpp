#include "EmbeddedDatabase.h"
#include "HostWindow.h"
#include "QtPlatform.h"
#include "RecordBrowser.h"
#include "TwkError.h"
#include "modSubroutines.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

QCommandLineOption Option(const char* sName, const char* sDescription, const char* sValueName,
                          const char* sDefault = nullptr) {
  QCommandLineOption option(QString::fromLatin1(sName), QString::fromUtf8(sDescription),
                            QString::fromLatin1(sValueName));
  if (sDefault) option.setDefaultValue(QString::fromUtf8(sDefault));
  return option;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellwick"));
  QApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Tellwick: the alert panel beside a record browser, as a host would show it.\n"
      "Without --server the embedded demo database in the user's data directory is used\n"
      "(created on first use) with the demo login."));
  parser.addHelpOption();
  parser.addVersionOption();
  const auto server = Option("server", "SQL server: an ODBC data source, or a database file.", "NAME");
  const auto database = Option("database", "Database name.", "NAME", "DEMO");
  const auto user = Option("user", "SQL login.", "LOGIN", "MANAGER");
  const auto password = Option("password", "Password of the login.", "PASSWORD");
  const auto level = Option("level", "The user's system level, as the host gives it.", "LEVEL",
                            "9 (sysadmin)");
  const auto hostVersion = Option("host-version", "The host version the controls are told.",
                                  "VERSION", "10.2.0");
  const auto id = Option("id", "Open this record first.", "ID");
  const QCommandLineOption exitWhenShown(
      QStringLiteral("exit-when-shown"),
      QStringLiteral("Quit as soon as the first page of alerts has been drawn (for timing)."));
  parser.addOptions({server, database, user, password, level, hostVersion, id, exitWhenShown});
  parser.process(application);
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "tellwick: unexpected argument \"%s\"; see --help\n",
                 qUtf8Printable(parser.positionalArguments().first()));
    return 2;
  }

  twk::HostOptions options{parser.value(server),   parser.value(database),
                           parser.value(user),     parser.value(password),
                           parser.value(level),    parser.value(hostVersion)};
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
  twk::ScopedPlatform installation(platform);
  window.show();
  window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  if (parser.isSet(id)) window.Browser()->Select(parser.value(id));
  if (parser.isSet(exitWhenShown)) {
    // The page is filled by now; let the window draw it once, then go.
    QTimer::singleShot(0, &application, &QApplication::quit);
  }
  return application.exec();
}
