// Writes the small test pictures of the skin tests into a folder:
//   60001: 8 × 8, fully transparent white margin, opaque red inside, and one
//          green pixel at alpha 1 at (1, 1);
//   60002: 40 × 30 opaque blue.
#include <QDir>
#include <QImage>

int main(int argc, char** argv) {
  const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(root + QStringLiteral("/png"));

  QImage margin(8, 8, QImage::Format_ARGB32);
  margin.fill(qRgba(255, 255, 255, 0));
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x) margin.setPixel(x, y, qRgba(255, 0, 0, 255));
  margin.setPixel(1, 1, qRgba(0, 255, 0, 1));
  if (!margin.save(root + QStringLiteral("/png/60001.png"))) return 1;

  QImage solid(40, 30, QImage::Format_ARGB32);
  solid.fill(qRgba(0, 0, 255, 255));
  if (!solid.save(root + QStringLiteral("/png/60002.png"))) return 1;
  return 0;
}
