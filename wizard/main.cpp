// tessmark-wizard: a four-page wizard that collects the inputs of the Tessmark converter, runs it
// and shows its output. It reads no arguments of its own.
#include <QApplication>

#include "ashlar.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Ashlar wizard;
  wizard.show();
  // The wizard is the program's main window: closing it (Cancel or Close) ends the program.
  QObject::connect(&wizard, &QDialog::finished, &app, &QCoreApplication::quit);
  return app.exec();
}
