#include "app/application.h"

#include <exception>
#include <stdexcept>

#include "platform/services.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), FDefaultMessages(std::make_unique<TQtMessages>()) {}

TApplication::~TApplication() = default;

void TApplication::SetMessages(IMessages* messages) {
  FCurrentMessages = messages;
}

IMessages& TApplication::Messages() {
  return FCurrentMessages != nullptr ? *FCurrentMessages : *FDefaultMessages;
}

void TApplication::ReportException(std::exception_ptr e) {
  std::string text = kUnknownErrorText;
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    text = ex.what();
  } catch (...) {
  }
  Messages().ShowError(text);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportException(std::current_exception());
    return false;
  }
}
