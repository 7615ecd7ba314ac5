// The letters: QPainterPath gives the outlines as polygons, the tessellator fills the front
// and the back, and quads between them make the sides.
#include "gl3d/GLText.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>

#include <GL/glu.h>

#include <array>
#include <deque>
#include <vector>

#ifndef CALLBACK
#define CALLBACK
#endif

namespace tovani {

namespace {

// The tessellator may make new points where outlines cross; they live until the list is made.
std::deque<std::array<GLdouble, 3>>* newPoints = nullptr;

void CALLBACK Begin(GLenum type) {
    glBegin(type);
}
void CALLBACK End() {
    glEnd();
}
void CALLBACK Vertex(void* data) {
    glVertex3dv(static_cast<const GLdouble*>(data));
}
void CALLBACK Combine(const GLdouble coords[3], void* [4], const GLfloat[4], void** out) {
    newPoints->push_back({coords[0], coords[1], coords[2]});
    *out = newPoints->back().data();
}

// Fills the outlines at depth z, facing +z or -z.
void Fill(GLUtesselator* tess, const QList<QPolygonF>& outlines,
          std::vector<std::vector<std::array<GLdouble, 3>>>& points, double z, bool front) {
    glNormal3f(0, 0, front ? 0.1f : -0.1f);
    gluTessNormal(tess, 0, 0, front ? 1 : -1);
    gluTessBeginPolygon(tess, nullptr);
    for (size_t i = 0; i < size_t(outlines.size()); ++i) {
        gluTessBeginContour(tess);
        for (auto& p : points[i]) {
            p[2] = z;
            gluTessVertex(tess, p.data(), p.data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

} // namespace

GLText::~GLText() {
    if (list_)
        glDeleteLists(list_, 1);
}

void GLText::SetText(const QString& text) {
    if (list_)
        glDeleteLists(list_, 1);
    list_ = 0;
    if (text.isEmpty())
        return;
    QFont font("Arial");
    font.setPixelSize(100);
    font.setBold(true);
    font.setItalic(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    // Capitals three units high, the text starting at the origin, y upwards.
    const QRectF box = path.boundingRect();
    QTransform t;
    t.scale(3.0 / 70, -3.0 / 70);
    t.translate(-box.left(), 0);
    const QList<QPolygonF> outlines = path.toSubpathPolygons(t);
    std::vector<std::vector<std::array<GLdouble, 3>>> points;
    for (const QPolygonF& poly : outlines) {
        std::vector<std::array<GLdouble, 3>> ring;
        for (const QPointF& p : poly)
            ring.push_back({p.x(), p.y(), 0});
        // A closed outline repeats its first point; the tessellator wants it once.
        if (ring.size() > 1 && ring.front()[0] == ring.back()[0] &&
            ring.front()[1] == ring.back()[1])
            ring.pop_back();
        points.push_back(std::move(ring));
    }
    std::deque<std::array<GLdouble, 3>> made;
    newPoints = &made;
    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&Begin));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&End));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&Vertex));
    gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&Combine));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    list_ = glGenLists(1);
    glNewList(list_, GL_COMPILE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    Fill(tess, outlines, points, 0, true);
    Fill(tess, outlines, points, -kDepth, false);
    // The sides: a quad for each edge of each outline.
    glBegin(GL_QUADS);
    for (const auto& ring : points) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const auto& a = ring[i];
            const auto& b = ring[(i + 1) % ring.size()];
            const double dx = b[0] - a[0], dy = b[1] - a[1];
            glNormal3d(dy * 0.1, -dx * 0.1, 0);
            glVertex3d(a[0], a[1], 0);
            glVertex3d(a[0], a[1], -kDepth);
            glVertex3d(b[0], b[1], -kDepth);
            glVertex3d(b[0], b[1], 0);
        }
    }
    glEnd();
    glEnable(GL_CULL_FACE);
    glEndList();
    gluDeleteTess(tess);
    newPoints = nullptr;
}

void GLText::Draw() const {
    if (list_)
        glCallList(list_);
}

} // namespace tovani
