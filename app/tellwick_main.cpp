#include "EmbeddedDatabase.h"
#include "HostPlatform.h"
#include "HostWindow.h"
#include "PasswordSource.h"
#include "QtPlatform.h"
#include "RecordBrowser.h"
#include "TimeLimit.h"
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

struct ParserOptions {
  QCommandLineOption server, database, user, password, passwordFile, level, hostVersion, id,
      exitWhenShown, timeout;
};

ParserOptions ConfigureParser(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral(
      "Tellwick: the alert panel beside a record browser, as a host would show it.\n"
      "Without --server the embedded demo database in the user's data directory is used\n"
      "(created on first use) with the demo login. The password is read from --password,\n"
      "--password-file or the environment variable TWK_PASSWORD, in that order."));
  parser.addHelpOption();
  parser.addVersionOption();
  const auto server = Option("server", "SQL server: an ODBC data source, or a database file.", "NAME");
  const auto database = Option("database", "Database name.", "NAME", "DEMO");
  const auto user = Option("user", "SQL login.", "LOGIN", "MANAGER");
  const auto password = twk::PasswordSource::PasswordOption();
  const auto passwordFile = twk::PasswordSource::FileOption();
  const auto level = Option("level", "The user's system level, as the host gives it.", "LEVEL",
                            "9 (sysadmin)");
  const auto hostVersion = Option("host-version", "The host version the controls are told.",
                                  "VERSION", "10.2.0");
  const auto id = Option("id", "Open this record first.", "ID");
  const QCommandLineOption exitWhenShown(
      QStringLiteral("exit-when-shown"),
      QStringLiteral("Quit as soon as the first page of alerts has been drawn (for timing)."));
  const auto timeout = Option("timeout", twk::TimeLimit::OptionDescription(), "SECONDS", "30");
  parser.addOptions({server, database, user, password, passwordFile, level, hostVersion, id,
                     exitWhenShown, timeout});
  return {server, database, user, password, passwordFile, level, hostVersion, id, exitWhenShown,
          timeout};
}

// Help and version need no display: answer them before a window system is
// asked for, so that they work on a terminal without one.
void AnswerHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray sArgument(argv[i]);
    if (sArgument == "--help" || sArgument == "-h" || sArgument == "--help-all" ||
        sArgument == "--version" || sArgument == "-v") {
      QCoreApplication core(argc, argv);
      QCoreApplication::setApplicationName(QStringLiteral("Tellwick"));
      QCoreApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());
      QCommandLineParser parser;
      ConfigureParser(parser);
      parser.process(core);  // prints and exits
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  AnswerHelpOrVersion(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tellwick"));
  QApplication::setApplicationVersion(twk::modSubroutines::TwkVersionText());

  QCommandLineParser parser;
  const ParserOptions o = ConfigureParser(parser);
  parser.process(application);
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "tellwick: unexpected argument \"%s\"; see --help\n",
                 qUtf8Printable(parser.positionalArguments().first()));
    return 2;
  }
  if (!twk::TimeLimit::SetFromText(parser.value(o.timeout))) {
    std::fprintf(stderr, "tellwick: --timeout takes whole seconds, not \"%s\"\n",
                 qUtf8Printable(parser.value(o.timeout)));
    return 2;
  }

  QString sPassword, sPasswordError;
  if (!twk::PasswordSource::Resolve(parser, o.password, o.passwordFile, sPassword,
                                    sPasswordError)) {
    std::fprintf(stderr, "tellwick: %s\n", qUtf8Printable(sPasswordError));
    return 2;
  }
  twk::HostOptions options{parser.value(o.server), parser.value(o.database), parser.value(o.user),
                           sPassword,              parser.value(o.level),    parser.value(o.hostVersion)};
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
  twk::HostPlatform hostPlatform(platform, [&window](const QString& s) { window.ShowStatus(s); });
  twk::ScopedPlatform installation(hostPlatform);
  window.show();
  window.OpenControl(QStringLiteral("TWK.ctlTWK"), Qt::RightDockWidgetArea);
  if (parser.isSet(o.id)) window.Browser()->Select(parser.value(o.id));
  if (parser.isSet(o.exitWhenShown)) {
    // The page is filled by now; let the window draw it once, then go.
    QTimer::singleShot(0, &application, &QApplication::quit);
  }
  return application.exec();
}
