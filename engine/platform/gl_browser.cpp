// The browser's GL entry points that its GL (Emscripten's legacy GL over
// WebGL) lacks: display lists, the attribute stacks and the evaluator come
// from the GL emulation. The calls a list records, and those that set what
// the attribute stack saves but the browser's GL cannot tell (the current
// colour and texture coordinates, the enable flags), go through the
// emulation to Emscripten's own implementations, which it also exports
// under emscripten_ names. Every colour, texture coordinate and enable call
// the engine makes is here; one the engine starts to use must be added.
// Textures take their texels' own format, as WebGL asks.
// Built for the browser only: on the desktop these are the GL's own.
#ifdef __EMSCRIPTEN__

#include "platform/gl_emulation.h"

extern "C" {
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glPushMatrix();
void emscripten_glPopMatrix();
void emscripten_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glBegin(GLenum mode);
void emscripten_glEnd();
void emscripten_glTexCoord2f(GLfloat s, GLfloat t);
void emscripten_glVertex2f(GLfloat x, GLfloat y);
void emscripten_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glMatrixMode(GLenum mode);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glGetIntegerv(GLenum name, GLint* value);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const GLvoid* texels);
}

namespace {

grains::GL_EMULATION& emulation() {
  static grains::GL_EMULATION instance({emscripten_glBindTexture, emscripten_glPushMatrix, emscripten_glPopMatrix,
                                        emscripten_glTranslatef, emscripten_glBegin, emscripten_glEnd,
                                        emscripten_glTexCoord2f, emscripten_glVertex2f, emscripten_glVertex3f,
                                        emscripten_glColor4f, emscripten_glEnable, emscripten_glDisable,
                                        emscripten_glMatrixMode, emscripten_glPixelStorei, emscripten_glGetIntegerv});
  return instance;
}

GLfloat unit(GLubyte level) { return static_cast<GLfloat>(level) / 255.0f; }

}  // namespace

extern "C" {

GLuint glGenLists(GLsizei range) { return emulation().gen_lists(range); }
void glNewList(GLuint list, GLenum mode) { emulation().new_list(list, mode); }
void glEndList() { emulation().end_list(); }
void glListBase(GLuint base) { emulation().list_base(base); }
void glCallList(GLuint list) { emulation().call_list(list); }
void glCallLists(GLsizei count, GLenum type, const GLvoid* offsets) { emulation().call_lists(count, type, offsets); }
void glDeleteLists(GLuint list, GLsizei range) { emulation().delete_lists(list, range); }

void glPushAttrib(GLbitfield mask) { emulation().push_attrib(mask); }
void glPopAttrib() { emulation().pop_attrib(); }
void glPushClientAttrib(GLbitfield mask) { emulation().push_client_attrib(mask); }
void glPopClientAttrib() { emulation().pop_client_attrib(); }

void glMap1f(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat* points) {
  emulation().map1(target, u1, u2, stride, order, points);
}
void glEvalCoord1f(GLfloat u) { emulation().eval_coord1(u); }

void glBindTexture(GLenum target, GLuint texture) { emulation().bind_texture(target, texture); }
void glPushMatrix() { emulation().push_matrix(); }
void glPopMatrix() { emulation().pop_matrix(); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { emulation().translate(x, y, z); }
void glBegin(GLenum mode) { emulation().begin(mode); }
void glEnd() { emulation().end(); }
void glTexCoord2f(GLfloat s, GLfloat t) { emulation().tex_coord(s, t); }
void glTexCoord2d(GLdouble s, GLdouble t) { emulation().tex_coord(static_cast<GLfloat>(s), static_cast<GLfloat>(t)); }
void glVertex2f(GLfloat x, GLfloat y) { emulation().vertex2(x, y); }
void glColor3ub(GLubyte red, GLubyte green, GLubyte blue) { emulation().color(unit(red), unit(green), unit(blue), 1); }
void glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha) {
  emulation().color(unit(red), unit(green), unit(blue), unit(alpha));
}
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) { emulation().color(red, green, blue, alpha); }
void glEnable(GLenum cap) { emulation().enable(cap); }
void glDisable(GLenum cap) { emulation().disable(cap); }

// WebGL makes a texture only of the texels' own format. The engine asks
// for RGBA from luminance and alpha (glyphs), which samples the same as
// luminance and alpha kept as they are.
void glTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint border, GLenum format,
                  GLenum type, const GLvoid* texels) {
  emscripten_glTexImage2D(target, level, static_cast<GLint>(format), width, height, border, format, type, texels);
}
}

#endif
