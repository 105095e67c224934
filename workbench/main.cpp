// Orvel: the filter-design workbench.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Orvel");
  QApplication::setApplicationName("Orvel");
  QMainWindow window;
  window.setObjectName("frmMain");
  window.setWindowTitle("Orvel");
  window.setCentralWidget(new QMdiArea(&window));
  window.resize(1024, 720);
  window.show();
  return app.exec();
}
