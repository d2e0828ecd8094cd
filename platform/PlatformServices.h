// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace twk {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Question, Exclamation, Critical };
enum class MessageAnswer { Ok, Yes, No };

/// Modal message boxes. Nothing else in the libraries may block on a person.
class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MessageAnswer ShowMessage(const QString& sText, const QString& sTitle,
                                    MessageButtons buttons, MessageIcon icon) = 0;
};

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  virtual void SetClipboardText(const QString& sText) = 0;
  virtual QString ClipboardText() = 0;
};

struct CommandStart {
  bool bStarted = false;
  qint64 lProcessId = 0;
  QString sError;
};

/// Starts a command line. Implementations split it into program and
/// arguments and start the program directly, never through a shell.
class CommandService {
 public:
  virtual ~CommandService() = default;
  virtual CommandStart StartCommand(const QString& sCommandLine) = 0;
};

class WebService {
 public:
  virtual ~WebService() = default;
  /// Returns false when no handler accepted the address.
  virtual bool OpenWebAddress(const QString& sAddress) = 0;
};

/// Everything that leaves the process or waits for a person, in one place so
/// that tests can record it.
class PlatformServices : public MessageService,
                         public ClipboardService,
                         public CommandService,
                         public WebService {};

namespace Platform {

/// The services of this thread: the installed ones, else the console's.
PlatformServices& Services();

/// Installs services for this thread; nullptr returns to the default.
/// The caller keeps ownership and must outlive the installation.
void Install(PlatformServices* pServices);

}  // namespace Platform

/// Installs services for a scope and restores the previous ones after it.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(PlatformServices& services);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  PlatformServices* pPrevious_;
};

}  // namespace twk
