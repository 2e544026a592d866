// The desktop program: one main window; closing it ends the program.
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/about.h"
#include "app/application.h"
#include "app/frmdistr.h"

namespace {

constexpr const char* kHelp =
    "Usage: alearix [--help] [--version]\n"
    "Alearix - Configurable Random Generator: draws random numbers from a probability\n"
    "density you shape by hand (six preset shapes, two bell curves with scroll bars,\n"
    "or a table of points), writes them to an \".asc\" text file and shows their\n"
    "histogram under the density curve. Densities are saved and loaded as \".rnd\"\n"
    "files.\n"
    "\n"
    "The program has no options besides these two; it opens its window, and Help\n"
    "there describes every command. alearix-gen writes the same numbers from the\n"
    "command line.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the program's name and version\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("alearix 1.0\n", stdout);
      return 0;
    }
  }
  // A file whose reader has gone (a pipe chosen in the save dialog) reports "Broken
  // pipe" in a message box instead of ending the program.
  std::signal(SIGPIPE, SIG_IGN);

  TApplication app(argc, argv);
  InitAboutResources();
  QApplication::setApplicationName("Alearix");
  QApplication::setDesktopFileName("alearix");
  const QIcon icon(":/about/alearix.png");
  QApplication::setWindowIcon(icon);

  TFrmMain frmMain;
  frmMain.setWindowIcon(icon);
  QObject::connect(&frmMain, &TFrmMain::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
  frmMain.show();
  return app.exec();
}
