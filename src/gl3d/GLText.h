// Words as solid 3D letters: the glyph outlines of a bold italic font, filled by GLU's
// tessellator and extruded, compiled into one display list per text.
#pragma once

#include <QString>

#include <GL/gl.h>

namespace tovani {

class GLText {
public:
    GLText() = default;
    ~GLText();
    GLText(const GLText&) = delete;
    GLText& operator=(const GLText&) = delete;

    // Builds the letters of `text` (the current OpenGL context must be the scene's).
    void SetText(const QString& text);
    // Draws them, in the current colour, the baseline starting at the origin, capitals three
    // units high.
    void Draw() const;
    bool Empty() const { return list_ == 0; }

    static constexpr float kDepth = 0.3f;

private:
    GLuint list_ = 0;
};

} // namespace tovani
