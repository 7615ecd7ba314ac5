// The painted content in the build's bin/ folder: tilesets and small tilesets have the grids the
// game cuts, the pictures have the sizes the window expects, everything decodes, and painting
// again gives exactly the same bytes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace {

const QString kBin = TOVANI_BIN_DIR;

void App() {
    static int argc = 1;
    static char name[] = "test_content_art";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        new QGuiApplication(argc, argv);
    }
}

QFileInfoList Files(const QString& folder) {
    return QDir(kBin + "/" + folder).entryInfoList(QDir::Files, QDir::Name);
}

QImage Read(const QString& path) {
    App();
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Mean absolute difference of two pictures of the same size, 0..255.
double Difference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

bool IsBlack(QRgb p) {
    return (p & 0xFFFFFF) == 0;
}
bool IsWhite(QRgb p) {
    return (p & 0xFFFFFF) == 0xFFFFFF;
}

// Where each face stands in a tileset picture: (column, row) for faces 1..43, written out from
// the table of the tileset format rather than computed.
const int kFaceCell[44][2] = {
    {0, 0}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {0, 1},
    {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {0, 0}, {1, 0}, {2, 0},
    {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {0, 3},
    {1, 3}, {2, 3}, {3, 3}, {4, 4}, {5, 4}, {6, 4}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {7, 4}};

// The 43 faces as the game composes them, including the framed layout's masks.
std::vector<QImage> Faces(const QImage& picture) {
    std::vector<QImage> faces;
    const bool framed = picture.width() == 370 && picture.height() == 568;
    const int w = framed ? 40 : picture.width() / 9;
    const int h = framed ? 50 : picture.height() / 5;
    const QImage blank = picture.copy(6, 256, 40, 50);
    for (int face = 1; face <= 43; ++face) {
        const int c = kFaceCell[face][0], r = kFaceCell[face][1];
        if (!framed) {
            faces.push_back(picture.copy(c * w, r * h, w, h));
        } else if (face == 43) {
            faces.push_back(blank);
        } else {
            QImage out(40, 50, QImage::Format_RGB32);
            for (int y = 0; y < 50; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const QRgb f = picture.pixel(41 * c + 1 + x, 51 * r + 1 + y);
                    const QRgb m = picture.pixel(41 * c + 1 + x, 51 * r + 313 + y);
                    out.setPixel(x, y, (blank.pixel(x, y) & m) | f);
                }
            }
            faces.push_back(out);
        }
    }
    return faces;
}

TEST(Tilesets, EveryTilesetHasTheGridTheGameCuts) {
    const QFileInfoList sets = Files("Tilesets");
    ASSERT_GE(sets.size(), 4);
    std::set<QString> names, kinds;
    int framed = 0;
    for (const QFileInfo& info : sets) {
        SCOPED_TRACE(info.fileName().toStdString());
        const QImage picture = Read(info.filePath());
        ASSERT_FALSE(picture.isNull());
        names.insert(info.completeBaseName());
        kinds.insert(info.suffix().toLower());
        if (picture.width() == 370 && picture.height() == 568) {
            ++framed;
            continue;
        }
        EXPECT_EQ(picture.width() % 9, 0);
        EXPECT_EQ(picture.height() % 5, 0);
        // Large enough to stay crisp on a full-HD window.
        EXPECT_GE(picture.width() / 9, 120);
        EXPECT_GE(picture.height() / 5, 150);
    }
    EXPECT_TRUE(names.count("Ivory"));
    EXPECT_TRUE(names.count("Bold"));
    EXPECT_TRUE(names.count("Modern"));
    EXPECT_GE(sets.size(), 6);
    EXPECT_TRUE(kinds.count("bmp"));
    EXPECT_TRUE(kinds.count("jpg"));
    EXPECT_GE(framed, 1);
}

TEST(Tilesets, FortyThreeDifferentFacesAndAPlainSurface) {
    for (const QFileInfo& info : Files("Tilesets")) {
        SCOPED_TRACE(info.fileName().toStdString());
        const auto faces = Faces(Read(info.filePath()));
        ASSERT_EQ(faces.size(), 43u);
        // No two faces alike: a face drawn twice or left empty would show here.
        for (size_t i = 0; i < faces.size(); ++i) {
            for (size_t j = i + 1; j < faces.size(); ++j) {
                EXPECT_GT(Difference(faces[i], faces[j]), 2.0)
                    << "faces " << i + 1 << " and " << j + 1;
            }
        }
        // The face is the flat top of a tile: no transparent black at its corners.
        for (const QImage& face : faces) {
            EXPECT_FALSE(IsBlack(face.pixel(0, 0)));
            EXPECT_FALSE(IsBlack(face.pixel(face.width() - 1, face.height() - 1)));
        }
    }
}

// The bold tileset is meant for small screens: shrunk to a tile 24 pixels wide, every face
// still differs plainly from every other, and the flowers (one round badge colour) and the
// seasons (another) are told apart by colour alone.
TEST(Tilesets, BoldFacesStayApartAtTwentyFourPixels) {
    const QImage picture = Read(kBin + "/Tilesets/Bold.bmp");
    ASSERT_FALSE(picture.isNull());
    const auto faces = Faces(picture);
    std::vector<QImage> small;
    for (const QImage& face : faces) {
        small.push_back(face.scaled(24, 30, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    for (size_t i = 0; i < 42; ++i) {
        for (size_t j = i + 1; j < 42; ++j) {
            EXPECT_GT(Difference(small[i], small[j]), 6.0) << "faces " << i + 1 << " and " << j + 1;
        }
    }
    // The badge colour at the middle-left of the badge, where no white sign is painted.
    auto badge = [&](int face) {
        return faces[face - 1].pixel(faces[face - 1].width() * 16 / 100,
                                     faces[face - 1].height() / 2);
    };
    for (int face = 28; face <= 31; ++face) {
        EXPECT_EQ(badge(face), badge(28)) << "flower " << face;
    }
    for (int face = 32; face <= 35; ++face) {
        EXPECT_EQ(badge(face), badge(32)) << "season " << face;
    }
    const QRgb f = badge(28), s = badge(32);
    EXPECT_GT(std::abs(qRed(f) - qRed(s)) + std::abs(qGreen(f) - qGreen(s)) +
                  std::abs(qBlue(f) - qBlue(s)),
              150);
}

TEST(Tilesets, DragonsCarryTheirColours) {
    // Red dragon (face 36) mostly red among its coloured pixels, green dragon (37) green.
    for (const QFileInfo& info : Files("Tilesets")) {
        if (info.completeBaseName() != "Ivory") {
            continue;
        }
        const auto faces = Faces(Read(info.filePath()));
        auto dominant = [](const QImage& face, int channel) {
            int count = 0, total = 0;
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x) {
                    const QRgb p = face.pixel(x, y);
                    const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
                    const int hi = std::max({c[0], c[1], c[2]}), lo = std::min({c[0], c[1], c[2]});
                    if (hi - lo > 80) {
                        ++total;
                        count += c[channel] == hi;
                    }
                }
            }
            return total > 0 ? double(count) / total : 0.0;
        };
        EXPECT_GT(dominant(faces[35], 0), 0.9);
        EXPECT_GT(dominant(faces[36], 1), 0.9);
    }
}

TEST(Tilesets, FramedMasksLetTheBlankTileShowThrough) {
    for (const QFileInfo& info : Files("Tilesets")) {
        const QImage picture = Read(info.filePath());
        if (picture.width() != 370 || picture.height() != 568) {
            continue;
        }
        SCOPED_TRACE(info.fileName().toStdString());
        EXPECT_FALSE(IsBlack(picture.pixel(6 + 20, 256 + 25))); // the blank tile is there
        for (int face = 1; face <= 42; ++face) {
            const int c = kFaceCell[face][0], r = kFaceCell[face][1];
            int black = 0, white = 0;
            for (int y = 0; y < 50; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const QRgb m = picture.pixel(41 * c + 1 + x, 51 * r + 313 + y);
                    const QRgb f = picture.pixel(41 * c + 1 + x, 51 * r + 1 + y);
                    ASSERT_TRUE(IsBlack(m) || IsWhite(m)) << "face " << face;
                    if (IsWhite(m)) {
                        ++white;
                        // Where the blank shows, the face must add nothing (it is ORed in).
                        EXPECT_TRUE(IsBlack(f)) << "face " << face << " at " << x << "," << y;
                    } else {
                        ++black;
                    }
                }
            }
            EXPECT_GT(black, 40) << "face " << face;
            EXPECT_GT(white, 200) << "face " << face;
        }
    }
}

TEST(SmallTilesets, SevenTilesAndTheirOutlineMask) {
    const QFileInfoList sets = Files("Small");
    ASSERT_GE(sets.size(), 2);
    bool kanji = false;
    for (const QFileInfo& info : sets) {
        SCOPED_TRACE(info.fileName().toStdString());
        EXPECT_EQ(info.suffix().toLower(), "bmp"); // the game lists only ".bmp" small tilesets
        kanji |= info.completeBaseName() == "Kanji";
        const QImage strip = Read(info.filePath());
        ASSERT_EQ(strip.width(), 304);
        ASSERT_EQ(strip.height(), 38);
        // The mask at x 266: black where the tile stands, white in the two cut corners.
        EXPECT_TRUE(IsWhite(strip.pixel(266, 0)));
        EXPECT_TRUE(IsWhite(strip.pixel(303, 37)));
        EXPECT_TRUE(IsBlack(strip.pixel(266 + 19, 19)));
        EXPECT_TRUE(IsBlack(strip.pixel(266 + 3, 30))); // the left side is part of the tile
        std::vector<QImage> faces;
        for (int i = 0; i < 7; ++i) {
            for (int y = 0; y < 38; ++y) {
                for (int x = 0; x < 38; ++x) {
                    const QRgb m = strip.pixel(266 + x, y);
                    ASSERT_TRUE(IsBlack(m) || IsWhite(m));
                    if (IsWhite(m)) {
                        EXPECT_TRUE(IsBlack(strip.pixel(38 * i + x, y))) << "tile " << i;
                    }
                }
            }
            faces.push_back(strip.copy(38 * i + 6, 0, 32, 32));
        }
        for (int i = 0; i < 7; ++i) {
            for (int j = i + 1; j < 7; ++j) {
                EXPECT_GT(Difference(faces[i], faces[j]), 8.0) << i << " and " << j;
            }
        }
    }
    EXPECT_TRUE(kanji);
}

TEST(Backgrounds, DefaultIntroAndTiledPicturesAreThere) {
    const QFileInfoList files = Files("Backgrounds");
    std::set<QString> names, kinds;
    int small = 0, large = 0;
    for (const QFileInfo& info : files) {
        SCOPED_TRACE(info.fileName().toStdString());
        const QImage picture = Read(info.filePath());
        ASSERT_FALSE(picture.isNull());
        names.insert(info.fileName());
        kinds.insert(info.suffix().toLower());
        // Sharp on a large screen: 2560 x 1440 or more.
        if (picture.width() >= 2560 && picture.height() >= 1440) {
            ++large;
        } else {
            EXPECT_LE(picture.width(), 512); // anything smaller is a picture meant to be tiled
            ++small;
        }
    }
    EXPECT_TRUE(names.count("Garden.jpg") || names.count("Garden.bmp"));
    EXPECT_TRUE(names.count("Keshiki.jpg"));
    // Two quiet ones that never fight the tiles.
    EXPECT_TRUE(names.count("Felt.jpg") && names.count("Linen.jpg"));
    EXPECT_GE(files.size(), 11);
    EXPECT_GE(small, 1);
    EXPECT_GE(large, 10);
    EXPECT_TRUE(kinds.count("jpg") && kinds.count("bmp"));
}

TEST(Resources, EveryPictureHasItsSize) {
    const std::map<QString, QSize> sizes = {
        {"Splash.png", {276, 186}},    {"HAND.png", {32, 32}},          {"HAND2.png", {32, 32}},
        {"Digits.png", {180, 44}},     {"Marble.png", {64, 32}},        {"Next.png", {64, 16}},
        {"Score.png", {64, 16}},       {"TilesRemoved.png", {128, 32}}, {"Level.png", {64, 16}},
        {"Grid.png", {320, 320}},      {"NextGrid.png", {64, 144}},     {"GridCell.png", {32, 32}},
        {"Filled.png", {32, 32}},      {"MiniTile0.png", {13, 15}},     {"MiniTile1.png", {13, 15}},
        {"ScorePanel.png", {105, 65}}, {"HofPic.png", {92, 320}}};
    for (const auto& [name, size] : sizes) {
        const QImage picture = Read(kBin + "/Resources/" + name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_EQ(picture.size(), size) << name.toStdString();
    }
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(Read(kBin + QString("/Resources/screen%1.jpg").arg(i)).size(), QSize(150, 100));
    }
    for (int i = 1; i <= 18; ++i) {
        EXPECT_EQ(Read(kBin + QString("/Resources/Girl%1.png").arg(i, 2, 10, QChar('0'))).size(),
                  QSize(92, 166));
    }
    for (const char* icon : {"New", "Back", "Hint", "Shuffle", "Pause", "Music", "Layout", "Help",
                             "About", "Hall", "Exit", "3D"}) {
        EXPECT_FALSE(Read(kBin + QString("/Resources/Icon%1.png").arg(icon)).isNull()) << icon;
    }
}

TEST(Resources, DigitMasksCoverTheirDigits) {
    const QImage strip = Read(kBin + "/Resources/Digits.png");
    ASSERT_EQ(strip.size(), QSize(180, 44));
    for (int d = 0; d < 10; ++d) {
        int inked = 0;
        for (int y = 0; y < 22; ++y) {
            for (int x = 18 * d; x < 18 * d + 18; ++x) {
                const QRgb m = strip.pixel(x, y + 22);
                ASSERT_TRUE(IsBlack(m) || IsWhite(m));
                if (IsWhite(m)) {
                    EXPECT_TRUE(IsBlack(strip.pixel(x, y))) << "digit " << d;
                } else {
                    ++inked;
                }
            }
        }
        EXPECT_GT(inked, 40) << "digit " << d;
    }
}

TEST(Resources, EveryFileDecodes) {
    for (const char* folder : {"Resources", "Tilesets", "Small", "Backgrounds"}) {
        for (const QFileInfo& info : Files(folder)) {
            if (info.suffix().compare("wav", Qt::CaseInsensitive) == 0)
                continue; // the sound effects live beside the pictures; the sound tests read them
            EXPECT_FALSE(Read(info.filePath()).isNull()) << info.filePath().toStdString();
        }
    }
}

QByteArray Digest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

TEST(Reproducible, PaintingAgainGivesTheSameBytes) {
    App();
    for (int run = 0; run < 2; ++run) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        tool.setProcessEnvironment(env);
        tool.start(TOVANI_ART_TOOL, {"all", dir.path()});
        ASSERT_TRUE(tool.waitForFinished(300000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        int compared = 0;
        for (const char* folder : {"Tilesets", "Small", "Backgrounds", "Resources"}) {
            const QFileInfoList made = QDir(dir.path() + "/" + folder).entryInfoList(QDir::Files);
            int pictures = 0;
            for (const QFileInfo& info : Files(folder))
                pictures += info.suffix().compare("wav", Qt::CaseInsensitive) != 0 ? 1 : 0;
            EXPECT_EQ(made.size(), pictures) << folder;
            for (const QFileInfo& info : made) {
                const QString built = kBin + "/" + folder + "/" + info.fileName();
                EXPECT_EQ(Digest(info.filePath()), Digest(built)) << built.toStdString();
                ++compared;
            }
        }
        EXPECT_GT(compared, 60);
    }
}

} // namespace
