// quillory-skin-gallery: every skin picture and every control look in one
// window, plus real layered windows (a drop shadow and action pads), for
// reviewing the artwork on screen.
#include "gallery.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTabWidget window;
  window.setWindowTitle(QStringLiteral("Quillory skin gallery"));
  window.addTab(MakePicturePage(), QStringLiteral("Pictures"));
  QWidget* controls = MakeControlPage();
  window.addTab(controls, QStringLiteral("Controls"));
  const qsizetype tab = args.indexOf(QStringLiteral("--tab"));
  if (tab >= 0 && tab + 1 < args.size() && args[tab + 1] == QLatin1String("controls"))
    window.setCurrentIndex(1);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  window.resize(qMin(1900, screen.width()), screen.height() - 20);
  window.move(0, 0);
  window.show();
  if (!args.contains(QStringLiteral("--no-layered"))) ShowLayeredSamples(&window, controls);
  const qsizetype quit = args.indexOf(QStringLiteral("--quit-after"));
  if (quit >= 0 && quit + 1 < args.size())
    QTimer::singleShot(args[quit + 1].toInt() * 1000, &app, &QApplication::quit);
  return app.exec();
}
