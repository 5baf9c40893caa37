#include "skin/render.h"

#include <QFile>

#ifdef QUILLORY_SKIN_HAS_ART
// The artwork lives in a static library: naming its initialiser here makes
// the linker keep it in every program that loads a picture.
static void InitArtResources() { Q_INIT_RESOURCE(art); }
#else
static void InitArtResources() {}
#endif

void InitSkinResources() {
  static const bool done = [] {
    InitArtResources();
    return true;
  }();
  (void)done;
}

QString SkinResourcePath(const QString& type, unsigned id) {
  return QStringLiteral(":/%1/%2.png").arg(type.toLower()).arg(id);
}

bool LoadPngResource(unsigned id, const QString& type, QImage* out) {
  InitSkinResources();
  if (out == nullptr) return false;
  const QString path = SkinResourcePath(type, id);
  if (!QFile::exists(path)) return false;
  QImage image(path);
  if (image.isNull()) return false;
  *out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return true;
}

bool CImageEx::LoadFromResource(unsigned id, bool clearTransparent) {
  Destroy();
  InitSkinResources();
  const QString path = SkinResourcePath(QString::fromLatin1(kResPng), id);
  if (!QFile::exists(path)) return false;
  QImage image(path);
  if (image.isNull()) return false;
  // Straight alpha keeps the stored colour of every pixel as decoded.
  m_image = image.convertToFormat(QImage::Format_ARGB32);
  if (clearTransparent) {
    for (int y = 0; y < m_image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
      for (int x = 0; x < m_image.width(); ++x) {
        if (qAlpha(line[x]) == 0) line[x] = 0;
      }
    }
  }
  return true;
}
