#include "platform/services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    const auto pos = s.find(sep, start);
    parts.push_back(s.substr(start, pos == std::string::npos ? std::string::npos : pos - start));
    if (pos == std::string::npos) break;
    start = pos + 1;
  }
  return parts;
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

std::string ToQtFileFilter(const std::string& filter) {
  if (filter.empty()) return {};
  const std::vector<std::string> parts = Split(filter, '|');
  std::string out;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    const std::string& desc = parts[i];
    std::string patterns = i + 1 < parts.size() ? parts[i + 1] : "*";
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    if (!out.empty()) out += ";;";
    out += desc + " (" + patterns + ")";
  }
  return out;
}

std::string HelpResourceFor(const std::string& helpFile) {
  std::string name = helpFile;
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ":/help/" + name + ".html";
}

QString TQtFileDialogs::StartPath(const TFileDialogRequest& req) const {
  const QString folder = FLastFolder.empty() ? QDir::currentPath() : Q(FLastFolder);
  return QDir(folder).filePath(Q(req.FileName));
}

std::optional<std::string> TQtFileDialogs::Remember(const QString& chosen) {
  if (chosen.isEmpty()) return std::nullopt;  // cancelled: the folder stays
  FLastFolder = QFileInfo(chosen).absolutePath().toStdString();
  return chosen.toStdString();
}

std::optional<std::string> TQtFileDialogs::SaveFile(const TFileDialogRequest& req) {
  QFileDialog::Options opts;
  if (!req.OverwritePrompt) opts |= QFileDialog::DontConfirmOverwrite;
  return Remember(QFileDialog::getSaveFileName(FParent, QString(), StartPath(req),
                                               Q(ToQtFileFilter(req.Filter)), nullptr, opts));
}

std::optional<std::string> TQtFileDialogs::OpenFile(const TFileDialogRequest& req) {
  return Remember(QFileDialog::getOpenFileName(FParent, QString(), StartPath(req),
                                               Q(ToQtFileFilter(req.Filter))));
}

void TQtMessages::ShowError(const std::string& msg) {
  const QString title = FTitle.empty() ? QGuiApplication::applicationDisplayName() : Q(FTitle);
  QMessageBox::critical(FParent, title, Q(msg));
}

TQtHelpViewer::TQtHelpViewer(IMessages* messages, std::string title)
    : FMessages(messages), FTitle(std::move(title)) {
  if (!FMessages) {
    FOwnMessages = std::make_unique<TQtMessages>();
    FMessages = FOwnMessages.get();
  }
}

TQtHelpViewer::~TQtHelpViewer() = default;

QWidget* TQtHelpViewer::Window() const {
  return FWindow.get();
}

void TQtHelpViewer::ShowContents(const std::string& helpFile) {
  const QString resource = Q(HelpResourceFor(helpFile));
  if (!QFile::exists(resource)) {
    FMessages->ShowError("Cannot find help file " + helpFile);
    return;
  }
  if (!FWindow) {
    FWindow = std::make_unique<QWidget>(nullptr, Qt::Window);
    auto* layout = new QVBoxLayout(FWindow.get());
    layout->setContentsMargins(0, 0, 0, 0);
    FBrowser = new QTextBrowser(FWindow.get());
    FBrowser->setOpenExternalLinks(true);
    layout->addWidget(FBrowser);
    FWindow->resize(640, 520);
  }
  // The contents page is the top of the file.
  FBrowser->setSource(QUrl(QStringLiteral("qrc") + resource));
  FBrowser->home();
  QString title = Q(FTitle);
  if (title.isEmpty()) title = FBrowser->documentTitle();
  FWindow->setWindowTitle(title.isEmpty() ? Q(helpFile) : title);
  FWindow->show();
  FWindow->raise();
  FWindow->activateWindow();
}
