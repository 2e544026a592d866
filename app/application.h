#pragma once
// The desktop program's application object: it delivers events like QApplication and
// turns an exception that escapes an event handler into a message box, so a failed
// command stops where it was and the window stays usable.
#include <QApplication>
#include <memory>
#include <string>

class IMessages;

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

  // Where error messages go; the default shows a message box. The object is not owned;
  // nullptr restores the default.
  void SetMessages(IMessages* messages);
  IMessages& Messages();

  // Shows the message of an exception caught while handling an event. Exposed so the
  // same reporting can be used around code that runs outside an event handler.
  void ReportException(std::exception_ptr e);

 private:
  std::unique_ptr<IMessages> FDefaultMessages;
  IMessages* FCurrentMessages = nullptr;
};

// The text shown for an exception that carries no message of its own.
inline constexpr const char* kUnknownErrorText = "Unknown error";
