// The compiled skin resources: every picture the windows load by number is
// present at its designed size, and the pictures keep the properties the
// windows rely on (transparent shadow insides, opaque bitmaps, hover and
// pressed looks of the red pad buttons getting darker).
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QString>

#include <set>
#include <vector>

namespace {

struct Picture {
    const char* folder;
    int id;
    int width;
    int height;
};

const std::vector<Picture> kPictures = {
#include "../art/catalog.inc"
};

struct Hotspot {
    int id;
    int x;
    int y;
};

const std::vector<Hotspot> kHotspots = {
#include "../art/cursors.inc"
};

QString pathOf(const char* folder, int id)
{
    return QStringLiteral(":/%1/%2.png").arg(QLatin1String(folder)).arg(id);
}

QImage load(const char* folder, int id)
{
    return QImage(pathOf(folder, id)).convertToFormat(QImage::Format_ARGB32);
}

// Mean brightness of the fully opaque pixels.
double meanOpaqueLuma(const QImage& image)
{
    double sum = 0;
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qAlpha(px) == 255) {
                sum += 0.299 * qRed(px) + 0.587 * qGreen(px) + 0.114 * qBlue(px);
                ++count;
            }
        }
    return count ? sum / count : -1;
}

} // namespace

// Outside any namespace, as the resource initialiser requires.
static void initArtResources()
{
    Q_INIT_RESOURCE(art);
}

class ArtworkResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initArtResources(); }
};

TEST_F(ArtworkResources, EveryCataloguedPictureLoadsAtItsDesignedSize)
{
    ASSERT_FALSE(kPictures.empty());
    for (const auto& pic : kPictures) {
        SCOPED_TRACE(pathOf(pic.folder, pic.id).toStdString());
        const QImage image(pathOf(pic.folder, pic.id));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), pic.width);
        EXPECT_EQ(image.height(), pic.height);
    }
}

TEST_F(ArtworkResources, EveryPictureTheWindowsLoadIsThereAtTheSizeTheyAreLaidOutFor)
{
    // Written out from the windows' layouts, not from the generator's table,
    // so a picture dropped or resized there is caught. Height 0: any height
    // (the scroll-bar thumbs are stretched).
    struct Group {
        const char* folder;
        std::vector<int> ids;
        int width;
        int height;
    };
    const Group groups[] = {
        {"bmp", {155}, 215, 680},
        {"bmp", {239}, 1100, 680},
        {"png", {159, 160, 161, 165, 166, 167, 283, 284, 285}, 25, 25},
        {"png", {162, 163, 164, 242, 243, 244, 250, 251, 252, 292}, 35, 35},
        {"png", {179, 180, 181, 286, 287, 288, 289, 290, 291}, 35, 35},
        {"png", {268}, 215, 10},
        {"png", {269}, 1100, 10},
        {"png", {254}, 245, 710},
        {"png", {255}, 1130, 710},
        {"png", {214, 216, 273, 224, 226, 271, 230, 232, 272}, 198, 148},
        {"png", {221, 223, 276, 227, 229, 274, 233, 235, 275}, 210, 218},
        {"png", {293}, 30, 30},
        {"png", {220}, 14, 539},
        {"png", {277}, 14, 323},
        {"png", {217, 218, 219, 278, 279, 280}, 14, 0},
        {"png", {241}, 60, 60},
        {"bmp", {281}, 414, 415},
        {"png", {282}, 430, 431},
        {"png", {262}, 525, 191},
        {"png", {170, 171, 172, 173, 174, 175, 176, 177, 178}, 43, 45},
        {"png", {182, 183, 184}, 30, 32},
        {"png", {185}, 434, 12},
        {"png", {256}, 206, 66},
        {"png", {259}, 139, 66},
        {"png", {189, 190, 191, 192, 193, 194, 198, 199, 200}, 50, 51},
        {"png", {266}, 252, 131},
        {"png", {263, 264, 265}, 152, 44},
        {"png", {267}, 558, 532},
        {"cur", {129, 261}, 0, 0},
        {"ico", {128}, 0, 0},
    };
    for (const Group& group : groups)
        for (int id : group.ids) {
            SCOPED_TRACE(pathOf(group.folder, id).toStdString());
            const QImage image(pathOf(group.folder, id));
            ASSERT_FALSE(image.isNull());
            if (group.width != 0) {
                EXPECT_EQ(image.width(), group.width);
            }
            if (group.height != 0) {
                EXPECT_EQ(image.height(), group.height);
            }
        }
}

TEST_F(ArtworkResources, EachIdNamesOnePicture)
{
    // Pictures of different kinds still share one number space in the windows' tables.
    std::set<int> ids;
    for (const auto& pic : kPictures)
        EXPECT_TRUE(ids.insert(pic.id).second) << "id " << pic.id << " twice";
}

TEST_F(ArtworkResources, ShadowFramesAreDarkOutsideAndFullyTransparentInside)
{
    // Where each shadow's window sits inside the picture.
    struct Frame {
        int id;
        QRect inner;
    };
    const Frame frames[] = {
        {254, QRect(13, 0, 220, 688)},   // main window, narrow
        {255, QRect(13, 0, 1100, 688)},  // main window, wide
        {267, QRect(11, 8, 536, 510)},   // login window
        {282, QRect(7, 3, 414, 415)},    // text viewer sheet
    };
    for (const auto& f : frames) {
        SCOPED_TRACE(f.id);
        const QImage image = load("png", f.id);
        ASSERT_FALSE(image.isNull());
        int visibleInside = 0;
        int visibleOutside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool shaded = qAlpha(image.pixel(x, y)) > 0;
                if (f.inner.contains(x, y))
                    visibleInside += shaded;
                else
                    visibleOutside += shaded;
            }
        EXPECT_EQ(visibleInside, 0);
        EXPECT_GT(visibleOutside, (image.width() + image.height()));
    }
}

TEST_F(ArtworkResources, BackdropIsUniformHalfTransparentBlack)
{
    const QImage image(pathOf("png", 241));
    ASSERT_FALSE(image.isNull());
    const QImage premul = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < premul.height(); ++y)
        for (int x = 0; x < premul.width(); ++x)
            ASSERT_EQ(premul.pixel(x, y), qRgba(0, 0, 0, 128)) << x << "," << y;
}

TEST_F(ArtworkResources, BitmapsAreOpaque)
{
    for (const auto& pic : kPictures) {
        if (QLatin1String(pic.folder) != QLatin1String("bmp"))
            continue;
        SCOPED_TRACE(pic.id);
        const QImage image = load(pic.folder, pic.id);
        ASSERT_FALSE(image.isNull());
        bool opaque = true;
        for (int y = 0; y < image.height() && opaque; ++y)
            for (int x = 0; x < image.width() && opaque; ++x)
                opaque = qAlpha(image.pixel(x, y)) == 255;
        EXPECT_TRUE(opaque);
    }
}

TEST_F(ArtworkResources, RedButtonsGetDarkerOnHoverAndDarkestWhenPressed)
{
    struct Triple {
        int normal;
        int hover;
        int pressed;
    };
    const Triple triples[] = {
        {189, 191, 190}, // pad delete
        {194, 193, 192}, // pad copy
        {198, 200, 199}, // pad export
        {170, 172, 171}, // player play
        {173, 175, 174}, // player pause
    };
    for (const auto& t : triples) {
        SCOPED_TRACE(t.normal);
        const double normal = meanOpaqueLuma(load("png", t.normal));
        const double hover = meanOpaqueLuma(load("png", t.hover));
        const double pressed = meanOpaqueLuma(load("png", t.pressed));
        EXPECT_GT(normal, hover);
        EXPECT_GT(hover, pressed);
    }
}

TEST_F(ArtworkResources, CursorHotspotsLieOnTheDrawnShape)
{
    ASSERT_EQ(kHotspots.size(), 2u);
    for (const auto& h : kHotspots) {
        SCOPED_TRACE(h.id);
        const QImage image = load("cur", h.id);
        ASSERT_FALSE(image.isNull());
        ASSERT_TRUE(image.rect().contains(h.x, h.y));
        int maxAlpha = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.rect().contains(h.x + dx, h.y + dy))
                    maxAlpha = std::max(maxAlpha, qAlpha(image.pixel(h.x + dx, h.y + dy)));
        EXPECT_GT(maxAlpha, 128);
    }
}
