// The GL that the engine and its programs call, in the browser, where GL is
// Emscripten's legacy GL emulation over WebGL 1. Built for the browser only;
// on the desktop every one of these is the GL's (or GLU's) own.
//
// What WebGL lacks, made here from what it has:
// - display lists, the attribute stacks and the evaluator, from the GL
//   emulation (gl_emulation.h). The calls a list records, and those that
//   set what the attribute stack saves but WebGL cannot tell (the current
//   colour and texture coordinates, the enable flags), go through the
//   emulation to Emscripten's own, which it exports under emscripten_
//   names. Every colour, texture coordinate and enable call the engine
//   makes is here; one the engine starts to use must be added.
// - texture names as a desktop GL has them: any name may be bound, 0
//   included, and makes its texture then; glGenTextures hands out one above
//   the highest name used so far. WebGL makes its textures itself: each
//   name is mapped to one of those.
// - texels in blue, green, red (and alpha) order, as bytes or as
//   GL_UNSIGNED_INT_8_8_8_8_REV words, and the unpack row length and skips,
//   which WebGL 1 reads only as red first and rows whole: such texels are
//   reordered and gathered first. WebGL makes a texture only of its texels'
//   own format, which the internal format is made to be.
// - the proxy texture (a size WebGL's largest texture holds fits),
//   glRecti, and GLU's gluBuild2DMipmaps (its first level as GLU makes it,
//   glu_mipmaps.h; the smaller ones WebGL's own).
#include "platform/gl_emulation.h"
#include "platform/glu_mipmaps.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

extern "C" {
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glGenTextures(GLsizei count, GLuint* textures);
void emscripten_glDeleteTextures(GLsizei count, const GLuint* textures);
void emscripten_glPushMatrix();
void emscripten_glPopMatrix();
void emscripten_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glBegin(GLenum mode);
void emscripten_glEnd();
void emscripten_glTexCoord2f(GLfloat s, GLfloat t);
void emscripten_glVertex2f(GLfloat x, GLfloat y);
void emscripten_glVertex2i(GLint x, GLint y);
void emscripten_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glMatrixMode(GLenum mode);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glGetIntegerv(GLenum name, GLint* value);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const GLvoid* texels);
void emscripten_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                                GLenum format, GLenum type, const GLvoid* texels);
void emscripten_glGenerateMipmap(GLenum target);
}

namespace {

// The engine's texture names, each with the WebGL texture it stands for.
class TextureNames {
 public:
  // The WebGL texture of name, made at its first use.
  GLuint webgl_texture(GLuint name) {
    const auto found = textures_.find(name);
    if (found != textures_.end()) return found->second;
    GLuint texture = 0;
    emscripten_glGenTextures(1, &texture);
    textures_[name] = texture;
    next_ = std::max(next_, name + 1);
    return texture;
  }

  GLuint generate() {
    const GLuint name = next_;
    webgl_texture(name);
    return name;
  }

  void remove(GLuint name) {
    const auto found = textures_.find(name);
    if (found == textures_.end()) return;
    emscripten_glDeleteTextures(1, &found->second);
    textures_.erase(found);
  }

 private:
  std::map<GLuint, GLuint> textures_;
  GLuint next_ = 1;  // above every name used so far
};

TextureNames& texture_names() {
  static TextureNames names;
  return names;
}

void bind_texture_by_name(GLenum target, GLuint name) {
  emscripten_glBindTexture(target, texture_names().webgl_texture(name));
}

// The unpack settings, kept here: WebGL 1 has no row length or skips.
struct UnpackSettings {
  GLint alignment = 4, row_length = 0, skip_pixels = 0, skip_rows = 0;
};
UnpackSettings unpack;

void pixel_store(GLenum name, GLint value) {
  switch (name) {
    case GL_UNPACK_ROW_LENGTH: unpack.row_length = value; return;
    case GL_UNPACK_SKIP_PIXELS: unpack.skip_pixels = value; return;
    case GL_UNPACK_SKIP_ROWS: unpack.skip_rows = value; return;
    case GL_UNPACK_ALIGNMENT: unpack.alignment = value; break;
    default: break;
  }
  emscripten_glPixelStorei(name, value);
}

grains::GL_EMULATION& emulation() {
  static grains::GL_EMULATION instance({bind_texture_by_name, emscripten_glPushMatrix, emscripten_glPopMatrix,
                                        emscripten_glTranslatef, emscripten_glBegin, emscripten_glEnd,
                                        emscripten_glTexCoord2f, emscripten_glVertex2f, emscripten_glVertex3f,
                                        emscripten_glColor4f, emscripten_glEnable, emscripten_glDisable,
                                        emscripten_glMatrixMode, pixel_store, emscripten_glGetIntegerv});
  return instance;
}

GLfloat unit(GLubyte level) { return static_cast<GLfloat>(level) / 255.0f; }

// Texels as WebGL takes them: a format of its own, red first, in tight
// rows.
struct WebGlTexels {
  GLenum format;
  GLenum type;
  const GLvoid* texels;  // the caller's, or gathered_texels
  bool gathered;         // in tight rows
};

// Texels reordered and gathered for WebGL. Kept from one upload to the
// next, so that a program's upload each frame allocates nothing.
std::vector<std::uint8_t> gathered_texels;

// Bytes a texel of format and type takes; 0 for a type kept as it is.
int texel_bytes(GLenum format, GLenum type) {
  if (type == GL_UNSIGNED_INT_8_8_8_8_REV) return 4;
  if (type != GL_UNSIGNED_BYTE) return 0;
  switch (format) {
    case GL_RGBA:
    case GL_BGRA: return 4;
    case GL_RGB:
    case GL_BGR: return 3;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1;
  }
}

bool is_blue_first(GLenum format) { return format == GL_BGR || format == GL_BGRA; }

// count blue-first texels of 4 bytes at from, written red first at to:
// each texel's word (0xAARRGGBB on a little-endian machine) turned into
// 0xAABBGGRR.
void red_first_words(const std::uint8_t* from, GLsizei count, std::uint8_t* to) {
  for (GLsizei x = 0; x < count; ++x, from += 4, to += 4) {
    std::uint32_t word;
    std::memcpy(&word, from, 4);
    word = (word & 0xFF00FF00u) | (word >> 16 & 0xFFu) | (word & 0xFFu) << 16;
    std::memcpy(to, &word, 4);
  }
}

// count blue-first texels of the given bytes at from, written red first
// at to.
void red_first_bytes(const std::uint8_t* from, GLsizei count, int bytes, std::uint8_t* to) {
  for (GLsizei x = 0; x < count; ++x, from += bytes, to += bytes) {
    std::copy(from, from + bytes, to);
    std::swap(to[0], to[2]);
  }
}

// The caller's texels, read as the unpack settings say, in WebGL's terms.
// Red-first bytes in whole rows go as they are.
WebGlTexels webgl_texels(GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* texels) {
  const int bytes = texel_bytes(format, type);
  const bool blue_first = is_blue_first(format);
  WebGlTexels out{blue_first ? (format == GL_BGR ? GLenum(GL_RGB) : GLenum(GL_RGBA)) : format,
                  bytes != 0 ? GLenum(GL_UNSIGNED_BYTE) : type, texels, false};
  const bool rows_whole = unpack.row_length == 0 && unpack.skip_pixels == 0 && unpack.skip_rows == 0;
  if (texels == nullptr || bytes == 0 || (!blue_first && rows_whole)) return out;
  const int row_texels = unpack.row_length > 0 ? unpack.row_length : width;
  const std::ptrdiff_t row_bytes = (row_texels * bytes + unpack.alignment - 1) / unpack.alignment * unpack.alignment;
  const auto* from = static_cast<const std::uint8_t*>(texels) + unpack.skip_rows * row_bytes +
                     static_cast<std::ptrdiff_t>(unpack.skip_pixels) * bytes;
  const std::ptrdiff_t tight_row_bytes = static_cast<std::ptrdiff_t>(width) * bytes;
  gathered_texels.resize(static_cast<std::size_t>(tight_row_bytes) * height);
  std::uint8_t* to = gathered_texels.data();
  for (GLsizei y = 0; y < height; ++y, from += row_bytes, to += tight_row_bytes) {
    if (!blue_first) std::copy(from, from + tight_row_bytes, to);
    else if (bytes == 4) red_first_words(from, width, to);
    else red_first_bytes(from, width, bytes, to);
  }
  out.texels = gathered_texels.data();
  out.gathered = true;
  return out;
}

// Runs upload with WebGL's texels unpacked from tight rows.
template <typename Upload>
void upload_webgl_texels(const WebGlTexels& texels, Upload upload) {
  const bool tight = texels.gathered;
  if (tight) emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  upload();
  if (tight) emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, unpack.alignment);
}

// The size of the last proxy texture, 0 by 0 when it does not fit.
GLint proxy_width = 0, proxy_height = 0;

void take_proxy(GLsizei width, GLsizei height) {
  GLint largest = 0;
  emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const bool fits = width >= 0 && height >= 0 && width <= largest && height <= largest;
  proxy_width = fits ? width : 0;
  proxy_height = fits ? height : 0;
}

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

void glGenTextures(GLsizei count, GLuint* textures) {
  for (GLsizei i = 0; i < count; ++i) textures[i] = texture_names().generate();
}
void glDeleteTextures(GLsizei count, const GLuint* textures) {
  for (GLsizei i = 0; i < count; ++i) texture_names().remove(textures[i]);
}

void glPixelStorei(GLenum name, GLint value) { pixel_store(name, value); }

void glTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint border, GLenum format,
                  GLenum type, const GLvoid* texels) {
  if (target == GL_PROXY_TEXTURE_2D) {
    take_proxy(width, height);
    return;
  }
  const WebGlTexels webgl = webgl_texels(width, height, format, type, texels);
  upload_webgl_texels(webgl, [&] {
    emscripten_glTexImage2D(target, level, static_cast<GLint>(webgl.format), width, height, border, webgl.format,
                            webgl.type, webgl.texels);
  });
}

void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                     GLenum type, const GLvoid* texels) {
  const WebGlTexels webgl = webgl_texels(width, height, format, type, texels);
  upload_webgl_texels(webgl, [&] {
    emscripten_glTexSubImage2D(target, level, x, y, width, height, webgl.format, webgl.type, webgl.texels);
  });
}

// Only the proxy texture's size can be asked; anything else reads 0.
void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value) {
  const bool proxy = target == GL_PROXY_TEXTURE_2D && level == 0;
  *value = !proxy ? 0 : name == GL_TEXTURE_WIDTH ? proxy_width : name == GL_TEXTURE_HEIGHT ? proxy_height : 0;
}

void glRecti(GLint left, GLint top, GLint right, GLint bottom) {
  emscripten_glBegin(GL_QUADS);
  emscripten_glVertex2i(left, top);
  emscripten_glVertex2i(right, top);
  emscripten_glVertex2i(right, bottom);
  emscripten_glVertex2i(left, bottom);
  emscripten_glEnd();
}

// GLU's first level: the texels scaled to GLU's power-of-two sides (the
// largest that fit WebGL's largest texture), 3 or 4 bytes a texel as the
// format says; then WebGL's own smaller levels.
GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* texels) {
  const int bytes = texel_bytes(format, type);
  if (width < 1 || height < 1 || bytes == 0) return GL_INVALID_VALUE;
  GLint largest = 0;
  emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  int new_width = grains::glu_power_of_two(width), new_height = grains::glu_power_of_two(height);
  while ((new_width > largest || new_height > largest) && (new_width > 1 || new_height > 1)) {
    new_width = std::max(1, new_width / 2);
    new_height = std::max(1, new_height / 2);
  }
  const int row_bytes = (width * bytes + unpack.alignment - 1) / unpack.alignment * unpack.alignment;
  const std::vector<std::uint8_t> level = new_width == width && new_height == height
                                              ? std::vector<std::uint8_t>()
                                              : grains::glu_scaled(static_cast<const std::uint8_t*>(texels), width,
                                                                   height, bytes, row_bytes, new_width, new_height);
  if (level.empty()) {
    glTexImage2D(target, 0, bytes, width, height, 0, format, type, texels);
  } else {
    const GLint alignment = unpack.alignment;
    pixel_store(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, bytes, new_width, new_height, 0, format, GL_UNSIGNED_BYTE, level.data());
    pixel_store(GL_UNPACK_ALIGNMENT, alignment);
  }
  emscripten_glGenerateMipmap(target);
  return 0;
}
}
