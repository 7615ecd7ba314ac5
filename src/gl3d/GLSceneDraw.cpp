// What a frame and a pick draw: the background, the board's tiles as textured boxes with their
// highlights and the removal of a pair, the grid games' blocks, words and numbers, the title.
#include "gl3d/GLScene.h"
#include "gl3d/GLText.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFunctions>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace tovani {

namespace {

// Colours of the layers with "Colored Layers": the ground layer keeps the face's own colour.
QColor LayerTint(int layer) {
    switch (layer) {
    case 2:
        return {210, 240, 250};
    case 3:
        return {250, 210, 250};
    case 4:
        return {250, 250, 210};
    case 5:
        return {210, 250, 210};
    default:
        return {255, 255, 255};
    }
}

QColor Dimmed(QColor c, int by) {
    return QColor(std::max(0, c.red() - by), std::max(0, c.green() - by),
                  std::max(0, c.blue() - by));
}

void Colour(QColor c, int alpha) {
    glColor4ub(GLubyte(c.red()), GLubyte(c.green()), GLubyte(c.blue()), GLubyte(alpha));
}

void UseTexture(GLuint name) {
    if (name) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

// One face of a box, inside glBegin(GL_QUADS): four corners counter-clockwise seen from
// outside, the picture spread over it; the normal is short (0.1), as the light is strong.
void Face(const float (&v)[4][3], float nx, float ny, float nz) {
    static const float tex[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glNormal3f(nx * 0.1f, ny * 0.1f, nz * 0.1f);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(tex[i][0], tex[i][1]);
        glVertex3f(v[i][0], v[i][1], v[i][2]);
    }
}

} // namespace

// A box's corners; the bottom face may stand off to the lower left ("Emphasize 3D effect").
struct BoxCorners {
    float x0, x1, y0, y1, z0, z1, bx0, bx1, by0, by1;
    BoxCorners(float cx, float cy, float cz, float hx, float hy, float hz, float shift)
        : x0(cx - hx), x1(cx + hx), y0(cy - hy), y1(cy + hy), z0(cz - hz), z1(cz + hz),
          bx0(x0 - shift), bx1(x1 - shift), by0(y0 - shift), by1(y1 - shift) {}

    void Top() const {
        const float v[4][3] = {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
        Face(v, 0, 0, 1);
    }
    void Sides() const {
        const float left[4][3] = {{bx0, by0, z0}, {x0, y0, z1}, {x0, y1, z1}, {bx0, by1, z0}};
        Face(left, -1, 0, 0);
        const float right[4][3] = {{bx1, by0, z0}, {bx1, by1, z0}, {x1, y1, z1}, {x1, y0, z1}};
        Face(right, 1, 0, 0);
        const float low[4][3] = {{bx0, by0, z0}, {bx1, by0, z0}, {x1, y0, z1}, {x0, y0, z1}};
        Face(low, 0, -1, 0);
        const float high[4][3] = {{bx0, by1, z0}, {x0, y1, z1}, {x1, y1, z1}, {bx1, by1, z0}};
        Face(high, 0, 1, 0);
        const float back[4][3] = {{bx0, by0, z0}, {bx0, by1, z0}, {bx1, by1, z0}, {bx1, by0, z0}};
        Face(back, 0, 0, -1);
    }
};

void GLScene::Box(float cx, float cy, float cz, float hx, float hy, float hz, float shift,
                  GLuint topTexture, GLuint sideTexture, QColor top, QColor side, int alpha) {
    const BoxCorners b(cx, cy, cz, hx, hy, hz, shift);
    UseTexture(topTexture);
    Colour(top, alpha);
    glBegin(GL_QUADS);
    b.Top();
    if (sideTexture == topTexture && side == top) {
        b.Sides();
        glEnd();
        return;
    }
    glEnd();
    UseTexture(sideTexture);
    Colour(side, alpha);
    glBegin(GL_QUADS);
    b.Sides();
    glEnd();
}

// Draws the background picture stretched over the panel once into a picture of the panel's
// size; false when this OpenGL cannot copy between pictures.
bool GLScene::MakeBackdrop() {
    if (!canCopy_)
        return false;
    const QSize size(pixelWidth_, pixelHeight_);
    if (!backdrop_ || backdrop_->size() != size) {
        backdrop_ = std::make_unique<QOpenGLFramebufferObject>(
            size, QOpenGLFramebufferObject::NoAttachment, GL_TEXTURE_2D, GL_RGBA8);
        if (!backdrop_->isValid()) {
            backdrop_.reset();
            canCopy_ = false;
            return false;
        }
    }
    backdrop_->bind();
    glViewport(0, 0, pixelWidth_, pixelHeight_);
    DrawBackgroundQuad();
    backdrop_->release();
    // Back to the panel's own picture (release() binds the window's, not the widget's).
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    backdropDirty_ = false;
    return true;
}

void GLScene::DrawBackground() {
    if ((backdropDirty_ || !backdrop_) && !MakeBackdrop()) {
        DrawBackgroundQuad();
        return;
    }
    QOpenGLExtraFunctions* f = context()->extraFunctions();
    f->glBindFramebuffer(GL_READ_FRAMEBUFFER, backdrop_->handle());
    f->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    f->glBlitFramebuffer(0, 0, pixelWidth_, pixelHeight_, 0, 0, pixelWidth_, pixelHeight_,
                         GL_COLOR_BUFFER_BIT, GL_NEAREST);
    f->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

void GLScene::DrawBackgroundQuad() {
    // The background picture fills the panel, flat behind everything (writing no depth).
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, pixelWidth_, 0, pixelHeight_);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    UseTexture(names_[kTex3DBackground]);
    glColor3ub(255, 255, 255);
    const float w = float(pixelWidth_), h = float(pixelHeight_);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex3f(0, 0, -1);
    glTexCoord2i(1, 0);
    glVertex3f(w, 0, -1);
    glTexCoord2i(1, 1);
    glVertex3f(w, h, -1);
    glTexCoord2i(0, 1);
    glVertex3f(0, h, -1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
}

void GLScene::DrawCube() {
    // The background on the inside of a cube around the board.
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    UseTexture(names_[kTex3DBackground]);
    glColor3ub(255, 255, 255);
    const float s = 41;
    // Each face wound counter-clockwise as seen from inside, so the near face, seen from
    // outside, is culled and the board shows.
    const float faces[6][4][3] = {{{-s, -s, -s}, {s, -s, -s}, {s, s, -s}, {-s, s, -s}},
                                  {{-s, -s, s}, {-s, s, s}, {s, s, s}, {s, -s, s}},
                                  {{-s, -s, -s}, {-s, s, -s}, {-s, s, s}, {-s, -s, s}},
                                  {{s, -s, -s}, {s, -s, s}, {s, s, s}, {s, s, -s}},
                                  {{-s, -s, -s}, {-s, -s, s}, {s, -s, s}, {s, -s, -s}},
                                  {{-s, s, -s}, {s, s, -s}, {s, s, s}, {-s, s, s}}};
    glBegin(GL_QUADS);
    for (const auto& f : faces)
        Face(f, 0, 0, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    if (options_.lighting)
        glEnable(GL_LIGHTING);
}

void GLScene::DrawBoard(bool picking) {
    glPushMatrix();
    glRotatef(camera_.XDegrees(), 1, 0, 0);
    glRotatef(camera_.YDegrees(), 0, 1, 0);
    glRotatef(camera_.ZDegrees(), 0, 0, 1);
    if (options_.back == Options3D::Back::Cube && !picking && !backLater_)
        DrawCube();
    glDisable(GL_TEXTURE_2D);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    const int mode = content_.gameMode;
    if ((mode == 9 || mode == 10) && options_.animatePause && !picking && text_) {
        if (title_.text != textShown_) {
            text_->SetText(title_.text);
            textShown_ = title_.text;
        }
        glPushMatrix();
        glTranslatef(title_.x, title_.y, title_.z);
        glRotatef(title_.turnX, 1, 0, 0);
        glRotatef(title_.turnY, 0, 1, 0);
        glColor4ub(255, 150, 50, 255);
        text_->Draw();
        glPopMatrix();
    }
    if (mode >= 1 && mode <= 4)
        DrawTiles(picking);
    else if (mode >= 5 && mode <= 7)
        DrawGrid(picking);
    glPopMatrix();
}

void GLScene::DrawTile(const SceneTile3D& t, bool picking, int alpha, int) {
    const float e = options_.emphasize ? 0.3f : 0.0f;
    const float a = options_.tileAspect;
    const auto [cx, cy, cz] = TileCentre(t);
    if (picking) {
        glLoadName(GLuint(t.tile));
        Box(cx, cy, cz, 1, a, 0.6f, e, 0, 0, Qt::white, Qt::white, 255);
        return;
    }
    GLuint top = 0;
    QColor topColour = Dimmed(options_.border, 30);
    if (options_.topTexture && t.face >= 1 && t.face <= 43) {
        top = names_[size_t(t.face - 1)];
        topColour = options_.progressive ? LayerTint(t.layer) : QColor(Qt::white);
    }
    GLuint side = 0;
    QColor sideColour = options_.border;
    if (options_.texturedTiles) {
        side = options_.marbleBorders ? names_[kTex3DMarble] : names_[42];
        sideColour = Qt::white;
    }
    Box(cx, cy, cz, 1, a, 0.6f, e, top, side, topColour, sideColour, alpha);
}

void GLScene::DrawOverlay(const SceneTile3D& t, QColor colour, int alpha) {
    const float e = options_.emphasize ? 0.3f : 0.0f;
    const float a = options_.tileAspect;
    const auto [cx, cy, cz] = TileCentre(t);
    Box(cx, cy, cz, 1.02f, a + 0.02f, 0.62f, e, 0, 0, colour, colour, alpha);
}

// A tile's middle: its cell across and down, its layer up (the upper layers shifted up and
// right with "Emphasize 3D effect").
std::array<float, 3> GLScene::TileCentre(const SceneTile3D& t) const {
    const float e = options_.emphasize ? 0.3f : 0.0f;
    return {float(t.column) - 17 + float(t.layer) * e + content_.shiftX,
            (10 - float(t.row) + content_.shiftY + 0.77f * float(t.layer) * e) *
                options_.tileAspect,
            1.2f * float(t.layer)};
}

BoxCorners GLScene::TileCorners(const SceneTile3D& t) const {
    const auto [cx, cy, cz] = TileCentre(t);
    return BoxCorners(cx, cy, cz, 1, options_.tileAspect, 0.6f, options_.emphasize ? 0.3f : 0.0f);
}

void GLScene::CompileBoard() {
    if (!boardList_)
        boardList_ = glGenLists(1);
    // Few draws for many tiles: the tops face by face (one picture each), then all the sides
    // with the one side picture. Upper layers first: they stand nearer the eye, and what they
    // hide is then left out early instead of being textured and painted over.
    std::vector<const SceneTile3D*> still;
    for (const SceneTile3D& t : content_.tiles)
        if (std::find(removal_.tiles.begin(), removal_.tiles.end(), t) == removal_.tiles.end())
            still.push_back(&t);
    const bool faces = options_.topTexture;
    std::stable_sort(still.begin(), still.end(),
                     [faces](const SceneTile3D* a, const SceneTile3D* b) {
                         if (a->layer != b->layer)
                             return a->layer > b->layer;
                         return faces && a->face < b->face;
                     });
    glNewList(boardList_, GL_COMPILE);
    int bound = -1;
    for (const SceneTile3D* t : still) {
        if (faces && (t->face < 1 || t->face > 43))
            continue;
        const int face = faces ? t->face : 0;
        if (face != bound) {
            if (bound >= 0)
                glEnd();
            UseTexture(faces ? names_[size_t(face - 1)] : 0);
            glBegin(GL_QUADS);
            bound = face;
        }
        Colour(!faces                 ? Dimmed(options_.border, 30)
               : options_.progressive ? LayerTint(t->layer)
                                      : QColor(Qt::white),
               255);
        TileCorners(*t).Top();
    }
    if (bound >= 0)
        glEnd();
    UseTexture(options_.texturedTiles
                   ? names_[options_.marbleBorders ? size_t(kTex3DMarble) : size_t(42)]
                   : 0);
    Colour(options_.texturedTiles ? QColor(Qt::white) : options_.border, 255);
    glBegin(GL_QUADS);
    for (const SceneTile3D* t : still)
        TileCorners(*t).Sides();
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEndList();
    boardDirty_ = false;
}

void GLScene::DrawTiles(bool picking) {
    if (picking) {
        for (const SceneTile3D& t : content_.tiles)
            DrawTile(t, true, 255);
        return;
    }
    // The still tiles are one display list, made again only when the board or an option
    // changes; the highlights and the removed pair are drawn over it each frame.
    if (boardDirty_ || !boardList_)
        CompileBoard();
    glCallList(boardList_);
    // The cube behind the tiles, drawn after them, fills only the pixels no tile took (the
    // depth test keeps the others) instead of the whole panel, most of it to be hidden.
    if (backLater_)
        DrawCube();
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    for (const SceneTile3D& t : content_.tiles) {
        if (options_.highlight && t.tile == hovered_)
            DrawOverlay(t, options_.hoverBlack ? QColor(Qt::black) : Dimmed(options_.hover, 30),
                        120);
        if (options_.highlight && !content_.memory && t.tile == content_.firstPick)
            DrawOverlay(t, Qt::black, 50);
        if (options_.highlight && (t.tile == content_.hint1 || t.tile == content_.hint2))
            DrawOverlay(t, Qt::white, 100);
    }
    glDepthMask(GL_TRUE);
    DrawRemoval();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void GLScene::DrawRemoval() {
    const int n = removal_.step;
    if (n <= 0)
        return;
    // The pair rises, sways and fades away.
    glEnable(GL_BLEND);
    for (const SceneTile3D& t : removal_.tiles) {
        const float a = options_.tileAspect;
        const float cx = float(t.column) - 17 + content_.shiftX;
        const float cy = (10 - float(t.row) + content_.shiftY) * a;
        glPushMatrix();
        glTranslatef(cx, cy, 0.125f * float(n));
        glRotatef(10 * std::sin(0.1f * float(n)), 1, 1, 1);
        glTranslatef(-cx, -cy, 0);
        DrawTile(t, false, 255 - int(0.05 * 255 * n));
        glPopMatrix();
    }
}

// ---- The grid games -----------------------------------------------------------------------------

void GLScene::DrawBlock(const SceneBlock3D& b, bool picking) {
    const float h = content_.blockHalfSize;
    if (picking) {
        glLoadName(b.name ? GLuint(b.name) : 1000u);
        Box(b.x, b.y, 0, h, h, h * 0.5f, 0, 0, 0, Qt::white, Qt::white, 255);
        return;
    }
    const GLuint tex = names_[size_t(kTex3DSmall + std::clamp(b.picture, 0, 6))];
    if (b.alpha < 255)
        glEnable(GL_BLEND);
    Box(b.x, b.y, 0, h, h, h * 0.5f, 0, tex, tex, Qt::white, Qt::white, b.alpha);
    if (b.alpha < 255)
        glDisable(GL_BLEND);
}

void GLScene::DrawQuad(int texture, float left, float bottom, float right, float top, float z) {
    UseTexture(names_[size_t(texture)]);
    glColor4ub(255, 255, 255, 255);
    glNormal3f(0, 0, 0.1f);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(left, bottom, z);
    glTexCoord2f(1, 0);
    glVertex3f(right, bottom, z);
    glTexCoord2f(1, 1);
    glVertex3f(right, top, z);
    glTexCoord2f(0, 1);
    glVertex3f(left, top, z);
    glEnd();
}

void GLScene::DrawNumber(const SceneNumber3D& n) {
    const std::string digits = std::to_string(n.value < 0 ? -n.value : n.value);
    glPushMatrix();
    glTranslatef(n.x, 0, 0);
    glRotatef(n.swing, 0, 1, 0);
    // Digits four fifths as wide as they are high, side by side.
    const float w = 0.8f * (n.top - n.bottom);
    float x = 0;
    for (char c : digits) {
        DrawQuad(kTex3DDigits + (c - '0'), x, n.bottom, x + w, n.top, 0.6f);
        x += w;
    }
    glPopMatrix();
}

void GLScene::DrawSlab(const SceneSlab3D& s) {
    const GLuint tex = names_[kTex3DMarble];
    Box((s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2, (s.z0 + s.z1) / 2, (s.x1 - s.x0) / 2,
        (s.y1 - s.y0) / 2, (s.z1 - s.z0) / 2, 0, tex, tex, Qt::white, Qt::white, 255);
}

void GLScene::DrawGrid(bool picking) {
    if (picking) {
        glLoadName(1000);
        for (const SceneSlab3D& s : content_.slabs)
            Box((s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2, (s.z0 + s.z1) / 2, (s.x1 - s.x0) / 2,
                (s.y1 - s.y0) / 2, (s.z1 - s.z0) / 2, 0, 0, 0, Qt::white, Qt::white, 255);
        for (const SceneBlock3D& b : content_.blocks)
            DrawBlock(b, true);
        // The cells of a grid (their frames) answer too.
        for (const SceneQuad3D& q : content_.quads)
            if (q.name) {
                glLoadName(GLuint(q.name));
                DrawQuad(q.texture, q.left, q.bottom, q.right, q.top, -0.3f);
            }
        return;
    }
    for (const SceneSlab3D& s : content_.slabs)
        DrawSlab(s);
    for (const SceneBlock3D& b : content_.blocks)
        DrawBlock(b, false);
    // Words, digits and frames: pictures with their black left out, unlit so they read well.
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    for (const SceneQuad3D& q : content_.quads)
        DrawQuad(q.texture, q.left, q.bottom, q.right, q.top,
                 q.texture == kTex3DGridFrame ? -0.3f : 0.6f);
    for (const SceneNumber3D& n : content_.numbers)
        DrawNumber(n);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    if (options_.lighting)
        glEnable(GL_LIGHTING);
}

} // namespace tovani
