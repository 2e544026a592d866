// The desktop program: one main window; closing it ends the program.
#include <QIcon>

#include "app/about.h"
#include "app/application.h"
#include "app/frmdistr.h"

int main(int argc, char** argv) {
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
