#pragma once
// Small interfaces for the modal and outside-world services the program uses
// (file dialogs, error messages, the help viewer), with Qt implementations.
// Test doubles are in tests/support/fakeservices.h.
#include <memory>
#include <optional>
#include <string>

class QString;
class QWidget;
class QTextBrowser;

struct TFileDialogRequest {
  std::string Filter;    // "Description|*.ext", several pairs joined by '|'
  std::string FileName;  // proposed file name
  bool OverwritePrompt = false;
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> SaveFile(const TFileDialogRequest&) = 0;
  virtual std::optional<std::string> OpenFile(const TFileDialogRequest&) = 0;
};

class IMessages {
 public:
  virtual ~IMessages() = default;
  virtual void ShowError(const std::string& msg) = 0;
};

class IHelpViewer {
 public:
  virtual ~IHelpViewer() = default;
  // Opens a help file at its contents page.
  virtual void ShowContents(const std::string& helpFile) = 0;
};

// "ASCII Format|*.asc" -> "ASCII Format (*.asc)"; pairs are joined with ";;" and
// the patterns of one pair ("*.a;*.b") with blanks.
std::string ToQtFileFilter(const std::string& filter);

// The Qt resource holding a help file: the bare name without its extension, in
// lower case, as HTML under ":/help/" ("ALEARIX.HLP" -> ":/help/alearix.html").
std::string HelpResourceFor(const std::string& helpFile);

// Qt's file dialogs. Each opens in the folder the last one was accepted in, the first
// one in the working folder, with the proposed file name filled in.
class TQtFileDialogs : public IFileDialogs {
 public:
  explicit TQtFileDialogs(QWidget* parent = nullptr) : FParent(parent) {}
  std::optional<std::string> SaveFile(const TFileDialogRequest& req) override;
  std::optional<std::string> OpenFile(const TFileDialogRequest& req) override;

 private:
  QString StartPath(const TFileDialogRequest& req) const;
  std::optional<std::string> Remember(const QString& chosen);

  QWidget* FParent;
  std::string FLastFolder;  // empty until a dialog has been accepted
};

// Error message box; the title is the application's display name unless given.
class TQtMessages : public IMessages {
 public:
  explicit TQtMessages(QWidget* parent = nullptr, std::string title = {})
      : FParent(parent), FTitle(std::move(title)) {}
  void ShowError(const std::string& msg) override;

 private:
  QWidget* FParent;
  std::string FTitle;
};

// Shows a help file in a window of its own (one window, reused), not modal, titled
// `title`, or by the file's own title when that is empty. A missing file is reported
// as "Cannot find help file <name>" through the given messages (a Qt message box by
// default).
class TQtHelpViewer : public IHelpViewer {
 public:
  explicit TQtHelpViewer(IMessages* messages = nullptr, std::string title = {});
  ~TQtHelpViewer() override;
  void ShowContents(const std::string& helpFile) override;

  // The help window once it has been opened, else nullptr.
  QWidget* Window() const;
  QTextBrowser* Browser() const { return FBrowser; }

 private:
  IMessages* FMessages;
  std::string FTitle;
  std::unique_ptr<IMessages> FOwnMessages;
  std::unique_ptr<QWidget> FWindow;
  QTextBrowser* FBrowser = nullptr;
};
