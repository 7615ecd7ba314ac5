// Cutting tilesets into faces and drawing the tile sides.
#include "graphics/Tileset.h"

#include "core/Files.h"
#include "graphics/Resampler.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

// Faces of a framed picture are 40 x 50 with a one-pixel frame line between cells; the masks
// stand 312 pixels below the faces and the blank tile at (6, 256).
constexpr int kFramedWidth = 370;
constexpr int kFramedHeight = 568;
constexpr int kFramedFaceWidth = 40;
constexpr int kFramedFaceHeight = 50;
constexpr int kFramedMaskOffset = 312;
constexpr Point kFramedBlank = {6, 256};

// Writes a label in black with a transparent background, through a painter on a picture that
// shares the sheet's memory. Fonts need the application object; without one (a tool that runs
// without a display) labels are left out.
void DrawLabel(PixelBuffer& sheet, int x, int y, const std::string& text, int pixelSize) {
    if (text.empty() || QGuiApplication::instance() == nullptr) {
        return;
    }
    QImage image(reinterpret_cast<uchar*>(sheet.Data()), sheet.Width(), sheet.Height(),
                 sheet.BytesPerLine(), QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, pixelSize));
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    const QFontMetrics metrics(font);
    painter.drawText(x, y + metrics.ascent(), QString::fromStdString(text));
}

// The face of `face` as it stands in the picture, SourceCellWidth x SourceCellHeight.
PixelBuffer SourceFace(const PixelBuffer& picture, int face, const TileGeometry& g) {
    const Point cell = FacePosition(face);
    PixelBuffer scratch(g.sourceCellWidth, g.sourceCellHeight);
    if (!g.framed) {
        Blit(scratch, 0, 0, picture, g.sourceCellWidth * cell.x, g.sourceCellHeight * cell.y,
             g.sourceCellWidth, g.sourceCellHeight);
        return scratch;
    }
    // Framed: the blank tile, AND the face's mask, OR the face.
    Blit(scratch, 0, 0, picture, kFramedBlank.x, kFramedBlank.y, kFramedFaceWidth,
         kFramedFaceHeight);
    if (face == 43) {
        return scratch;
    }
    const int fx = (kFramedFaceWidth + 1) * cell.x + 1;
    const int fy = (kFramedFaceHeight + 1) * cell.y + 1;
    Blit(scratch, 0, 0, picture, fx, fy + kFramedMaskOffset, kFramedFaceWidth, kFramedFaceHeight,
         RasterOp::And);
    Blit(scratch, 0, 0, picture, fx, fy, kFramedFaceWidth, kFramedFaceHeight, RasterOp::Or);
    return scratch;
}

// Multiplies the three channels of the pixels of row y, x from `from` to `to` inclusive, by f.
void ShadeRun(PixelBuffer& b, int y, int from, int to, double f) {
    if (y < 0 || y >= b.Height()) {
        return;
    }
    from = std::max(from, 0);
    to = std::min(to, b.Width() - 1);
    Pixel* line = b.ScanLine(y);
    auto scale = [f](int v) { return std::clamp(RoundHalfEven(f * v), 0, 255); };
    for (int x = from; x <= to; ++x) {
        const Pixel p = line[x];
        line[x] = MakePixel(scale(RedOf(p)), scale(GreenOf(p)), scale(BlueOf(p)));
    }
}

} // namespace

std::optional<TileGeometry> ComputeTileSize(int pictureWidth, int pictureHeight, int boardWidth,
                                            int boardHeight, const TileOptions& options) {
    TileGeometry g;
    g.sourceCellWidth = pictureWidth / kSheetColumns;
    g.sourceCellHeight = pictureHeight / kSheetRows;
    if (g.sourceCellWidth <= 0 || g.sourceCellHeight <= 0) {
        return std::nullopt;
    }
    if (pictureWidth == kFramedWidth && pictureHeight == kFramedHeight) {
        g.framed = true;
        g.sourceCellWidth = kFramedFaceWidth;
        g.sourceCellHeight = kFramedFaceHeight;
    }
    if (options.stretchTileset) {
        // The usual size: a 17th of the play area's width and a 10th of its height.
        const double side = options.doubleHeight ? 0.2 : 2.0 / 13.0;
        double w = boardWidth / 17, h = boardHeight / 10;
        // The box the board in play is drawn in, per pixel of tile width: a tile starting at
        // 0-based half-column c on layer l has its face at x = c W/2 + l E and is drawn from
        // x - E to x + W; at y = r H/2 - l E, drawn down to y + H + E (E = side x W).
        const std::vector<Cell> bounds = options.extent.Bounds();
        auto spans = [&](double ratio) { // ratio: H / W
            double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
            for (const Cell& c : bounds) {
                const double x = (c.column - 1) / 2.0 + (c.layer - 1) * side;
                const double y = (c.row - 1) * ratio / 2.0 - (c.layer - 1) * side;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
            return std::pair{maxX - minX + 1 + side, maxY - minY + ratio + side};
        };
        if (options.fitBoard) {
            // One scale for both, so the tiles keep their shape, and the board fills the area.
            const auto [kx, ky] = spans(h / std::max(1.0, w));
            const double fitted = std::min(boardWidth / kx, boardHeight / ky);
            const double s = std::min(fitted / std::max(1.0, w), kMaxFitGrowth);
            w *= s;
            h *= s;
            g.tileWidth = int(w);
            g.tileWidth -= g.tileWidth % 2;
            g.tileHeight = int(h);
        } else {
            // Shrink only as much as the board needs, each way on its own.
            const double kx = spans(h / std::max(1.0, w)).first;
            g.tileWidth = int(std::min(w, boardWidth / kx));
            g.tileWidth -= g.tileWidth % 2;
            g.tileHeight = int(h);
            while (g.tileHeight > 2 &&
                   spans(double(g.tileHeight) / std::max(1, g.tileWidth)).second * g.tileWidth >
                       boardHeight)
                --g.tileHeight;
        }
        if (options.keepRatio) {
            if (double(g.tileWidth) / double(std::max(1, g.tileHeight)) >
                double(g.sourceCellWidth) / double(g.sourceCellHeight)) {
                g.tileWidth =
                    int(double(g.tileHeight) / g.sourceCellHeight * double(g.sourceCellWidth));
            } else {
                g.tileHeight =
                    int(double(g.tileWidth) / g.sourceCellWidth * double(g.sourceCellHeight));
            }
        }
    } else {
        g.tileWidth = g.sourceCellWidth;
        g.tileHeight = g.sourceCellHeight;
        if (options.scale != 1.0) {
            g.tileWidth = RoundHalfEven(g.sourceCellWidth * options.scale);
            g.tileHeight = RoundHalfEven(g.sourceCellHeight * options.scale);
        }
    }
    g.tileWidth = std::max(g.tileWidth, 2);
    g.tileHeight = std::max(g.tileHeight, 2);
    if (g.tileWidth % 2 != 0) {
        ++g.tileWidth;
    }
    g.edgeSize = options.doubleHeight ? RoundHalfEven(g.tileWidth * 0.2)
                                      : RoundHalfEven(g.tileWidth * 2.0 / 13.0);
    return g;
}

Point FacePosition(int face) {
    if (face >= 1 && face <= 9) {
        return {face - 1, 2};
    }
    if (face >= 10 && face <= 18) {
        return {face - 10, 1};
    }
    if (face >= 19 && face <= 27) {
        return {face - 19, 0};
    }
    if (face >= 28 && face <= 31) {
        return {face - 28, 4};
    }
    if (face >= 32 && face <= 35) {
        return {face - 32, 3};
    }
    if (face >= 36 && face <= 38) {
        return {face - 36 + 4, 4};
    }
    if (face >= 39 && face <= 42) {
        return {face - 39 + 4, 3};
    }
    if (face == 43) {
        return {7, 4};
    }
    return {8, 4};
}

std::string FaceLabel(int face) {
    static const char* const kHonours[] = {"BAM", "PLUM", "MUM", "ORC", "WIN", "SPR", "SUM", "AUT",
                                           "D1",  "D2",   "D3",  "N",   "S",   "E",   "W"};
    if (face >= 1 && face <= 27) {
        return std::to_string((face - 1) % 9 + 1);
    }
    if (face >= 28 && face <= 42) {
        return kHonours[face - 28];
    }
    return "";
}

bool ChangeTexture(FaceSheets& sheets, const PixelBuffer& tilesetPicture, int boardWidth,
                   int boardHeight, const TileOptions& options,
                   const std::function<void(int)>& progress) {
    const auto geometry = ComputeTileSize(tilesetPicture.Width(), tilesetPicture.Height(),
                                          boardWidth, boardHeight, options);
    if (!geometry) {
        return false;
    }
    const TileGeometry& g = *geometry;
    const int W = g.tileWidth, H = g.tileHeight, E = g.edgeSize;
    sheets.geometry = g;
    sheets.FaceSheet.Reset(g.CellWidth() * kSheetColumns, g.CellHeight() * kSheetRows);

    // Faces are scaled when the tiles are stretched to the window, and on a high-density
    // screen (where, without "Stretch Tileset", the filtered resampler gives them their size).
    const double uiScale = options.scale > 0 ? options.scale : 1.0;
    const bool scaled = options.stretchTileset || uiScale != 1.0;
    const bool resampled = scaled && (options.highQuality || !options.stretchTileset);
    const int labelPixels = RoundHalfEven((W / uiScale < 40 ? 5 : 6) * 96.0 / 72.0 * uiScale);
    for (int face = 1; face <= kSheetFaces; ++face) {
        const PixelBuffer source = SourceFace(tilesetPicture, face, g);
        PixelBuffer sized(W, H);
        if (resampled) {
            Resample(source, sized, kFilterLanczos3); // a failure keeps the black face
        } else if (scaled) {
            StretchPlain(sized, sized.Bounds(), source, source.Bounds());
        } else {
            Blit(sized, 0, 0, source, 0, 0, source.Width(), source.Height());
        }
        const Point origin = sheets.FaceCellOrigin(face);
        Blit(sheets.FaceSheet, origin.x + E, origin.y, sized, 0, 0, W, H);
        if (options.showRomanized) {
            DrawLabel(sheets.FaceSheet, origin.x + E + 1, origin.y + 1, FaceLabel(face),
                      labelPixels);
        }
        if (progress) {
            progress(face);
        }
    }
    ChangeBorders(sheets, options);
    return true;
}

void ChangeBorders(FaceSheets& sheets, const TileOptions& options) {
    if (sheets.IsEmpty()) {
        return;
    }
    PixelBuffer& sheet = sheets.FaceSheet;
    const int W = sheets.TileWidth(), H = sheets.TileHeight(), E = sheets.EdgeSize();
    const Pixel key = PixelFromColour(kKeyColour);
    const Pixel main = PixelFromColour(options.borderMainColour);
    const Pixel edge = PixelFromColour(options.borderEdgeColour);
    const Pixel topEdge = options.enableTopEdges ? edge : main;

    // The sides are drawn once, in cell (0, 0), then copied to the other cells.
    sheet.FillRect({0, 0, E, H + E}, key);
    sheet.FillRect({0, H, W + E, H + E}, key);

    // Outlines: the face's left edge, the top chamfer, the outer left edge, the crease between
    // the two sides; the face's bottom edge, the lower chamfer, the outer bottom edge.
    DrawLine(sheet, E - 1, H, E - 1, 0, topEdge);
    DrawLine(sheet, E - 1, 0, 0, E - 1, edge);
    DrawLine(sheet, 0, E - 1, 0, H + E - 1, edge);
    DrawLine(sheet, 0, H + E - 1, E, H - 1, edge);
    DrawLine(sheet, E, H, W + E - 1, H, topEdge);
    DrawLine(sheet, W + E - 1, H, W, H + E - 1, edge);
    DrawLine(sheet, W, H + E - 1, 0, H + E - 1, edge);

    // Fill the inside of each side. The usual seed points fall on an outline when the sides
    // are only 3 pixels thick; a point in the middle of the side is taken then.
    auto fillSide = [&](Point seed, Point fallback) {
        if (sheet.Contains(seed.x, seed.y) && sheet.At(seed.x, seed.y) == key) {
            FloodFill(sheet, seed.x, seed.y, main);
        } else if (sheet.Contains(fallback.x, fallback.y) &&
                   sheet.At(fallback.x, fallback.y) == key) {
            FloodFill(sheet, fallback.x, fallback.y, main);
        }
    };
    fillSide({E - 2, E - 2}, {E - 2, E - 1});
    fillSide({W + 1, H + 1}, {W / 2, H + 1});

    // Double height: a line along the middle of each side, and the outer half in the inverted
    // colour, so that each tile looks like two stacked ones.
    if (options.doubleHeight) {
        const Pixel half = PixelFromColour(0xFFFFFFu - (options.borderMainColour & 0xFFFFFFu));
        const int h = E / 2;
        DrawLine(sheet, h, h, h, h + H, half);
        DrawLine(sheet, h, h + H, h + W, h + H, half);
        // The outer halves: left of the line at x = h, and below the one at y = h + H.
        if (h >= 2) {
            FloodFill(sheet, 1, E + H / 2, half);
        }
        if (E - 2 > h) {
            FloodFill(sheet, W / 2, H + E - 2, half);
        }
    }

    if (options.gradientTiles && E > 0) {
        // "Cool Tile Borders": light varies along each side and darkens away from the face.
        for (int y = 0; y <= H + E - 1; ++y) {
            const int from = std::max(0, E - y - 1), to = std::min(E - 1, H + E - y - 1);
            for (int x = from; x <= to; ++x) {
                const double f =
                    (20.0 * std::sin((y - 15) * 0.1) + 120.0 - (6.0 / E) * ((E - x) * 10.0)) * 0.01;
                ShadeRun(sheet, y, x, x, f);
            }
        }
        for (int y = H; y <= H + E - 1; ++y) {
            const int from = E + H - y;
            for (int x = from; x < from + W; ++x) {
                const double f =
                    (20.0 * std::sin((x + 5) / 7.0) + 120.0 - (6.0 / E) * ((y - H) * 15.0)) * 0.01;
                ShadeRun(sheet, y, x, x, f);
            }
        }
    }

    // The cut-off corners become black, which the shape mask makes transparent.
    if (sheet.At(0, 0) == key) {
        FloodFill(sheet, 0, 0, kBlack);
    }
    if (W + E - 1 >= 0 && H + E - 1 >= 0 && sheet.At(W + E - 1, H + E - 1) == key) {
        FloodFill(sheet, W + E - 1, H + E - 1, kBlack);
    }

    for (int r = 0; r < kSheetRows; ++r) {
        for (int c = 0; c < kSheetColumns; ++c) {
            if ((c == 0 && r == 0) || (c == 8 && r == 4)) {
                continue;
            }
            const Point o = sheets.CellOrigin(c, r);
            Blit(sheet, o.x, o.y, sheet, 0, 0, E, H + E);
            Blit(sheet, o.x, o.y + H, sheet, 0, H, W + E, E);
        }
    }

    // The shape mask: black where a tile is opaque, white in the two cut-off corners.
    const Point m = sheets.MaskCellOrigin();
    const int right = m.x + W + E, bottom = m.y + H + E;
    sheet.FillRect({m.x, m.y, right, bottom}, kBlack);
    const Point upper[] = {{m.x, m.y}, {m.x + E - 2, m.y}, {m.x, m.y + E - 2}};
    const Point lower[] = {{right, bottom - E}, {right, bottom}, {right - E, bottom}};
    // The corners of the lower triangle lie on the cell's exclusive edges, which are the
    // sheet's own edges: only the part inside is drawn.
    if (E >= 2) {
        FillConvexPolygon(sheet, upper, kWhite);
    }
    if (E >= 1) {
        FillConvexPolygon(sheet, lower, kWhite);
    }

    sheets.DarkFaceSheet = sheet;
    sheets.BrightFaceSheet = sheet;
    ScaleChannels(sheets.DarkFaceSheet, 0.78);
    ScaleChannels(sheets.BrightFaceSheet, 1.18);
}

void ClickoDraw(PixelBuffer& canvas, int x, int y, int index, const PixelBuffer& smallTileset,
                bool small3D, bool slider) {
    if (index < 0 || index >= kSmallTileCount) {
        return;
    }
    if (small3D) {
        Blit(canvas, x, y, smallTileset, kSmallTileCell * kSmallTileCount, 0, kSmallTileCell,
             kSmallTileCell, RasterOp::And);
        Blit(canvas, x, y, smallTileset, kSmallTileCell * index, 0, kSmallTileCell, kSmallTileCell,
             RasterOp::Or);
        return;
    }
    const int dx = slider ? x : x + 3, dy = slider ? y + 6 : y + 3;
    Blit(canvas, dx, dy, smallTileset, kSmallTileCell * index + 6, 0, kSmallTileFace,
         kSmallTileFace);
}

void DrawTile(PixelBuffer& canvas, int x, int y, int face, const FaceSheets& sheets,
              const PixelBuffer& sheet) {
    if (sheets.IsEmpty() || face < 1 || face > kSheetFaces) {
        return;
    }
    const Point mask = sheets.MaskCellOrigin();
    const Point cell = sheets.FaceCellOrigin(face);
    BlitMasked(canvas, x, y, sheets.FaceSheet, mask.x, mask.y, sheet, cell.x, cell.y,
               sheets.geometry.CellWidth(), sheets.geometry.CellHeight());
}

std::optional<std::string> SmallTilesetFileFor(const std::string& smallDir,
                                               const std::string& caption) {
    return FindNoCase(smallDir, caption + ".bmp");
}

std::optional<std::string> TilesetFileFor(const std::string& tilesetsDir,
                                          const std::string& caption) {
    if (auto bmp = FindNoCase(tilesetsDir, caption + ".bmp")) {
        return bmp;
    }
    return FindNoCase(tilesetsDir, caption + ".jpg");
}

} // namespace tovani
