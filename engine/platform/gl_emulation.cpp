#include "platform/gl_emulation.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace grains {

namespace {

constexpr std::size_t stack_depth = 16;  // the least a GL's attribute stacks hold
constexpr GLint largest_order = 30;      // evaluator orders run from 1 to this
constexpr GLbitfield saved_bits = GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_LIST_BIT;
constexpr GLbitfield saved_client_bits = GL_CLIENT_PIXEL_STORE_BIT;

// Dithering and multisampling are the flags a GL starts with on.
bool initially_enabled(GLenum cap) { return cap == GL_DITHER || cap == GL_MULTISAMPLE; }

// The evaluator's own flag, which the GL underneath never sees.
bool is_evaluator_flag(GLenum cap) { return cap == GL_MAP1_VERTEX_3; }

// The point at t of the Bézier curve whose control points are points (x, y,
// z each), computed as a GL does: Horner's scheme over the Bernstein basis,
// in floats, with the binomial coefficients built up term by term.
void bezier_point(const std::vector<GLfloat>& points, GLfloat t, GLfloat out[3]) {
  const int order = static_cast<int>(points.size() / 3);
  std::copy(points.begin(), points.begin() + 3, out);
  if (order == 1) return;
  const GLfloat s = 1.0f - t;
  GLfloat coefficient = static_cast<GLfloat>(order - 1);
  for (int k = 0; k < 3; ++k) out[k] = s * points[k] + coefficient * t * points[3 + k];
  GLfloat power = t * t;
  for (int i = 2; i < order; ++i, power *= t) {
    coefficient *= static_cast<GLfloat>(order - i);
    coefficient *= static_cast<GLfloat>(1.0 / i);
    for (int k = 0; k < 3; ++k) out[k] = s * out[k] + coefficient * power * points[3 * i + k];
  }
}

// The offset at index of an array of GL type type; false for another type.
bool list_offset(GLenum type, const GLvoid* offsets, GLsizei index, GLuint& offset) {
  switch (type) {
    case GL_UNSIGNED_BYTE: offset = static_cast<const GLubyte*>(offsets)[index]; return true;
    case GL_BYTE: offset = static_cast<GLuint>(static_cast<const GLbyte*>(offsets)[index]); return true;
    case GL_UNSIGNED_SHORT: offset = static_cast<const GLushort*>(offsets)[index]; return true;
    case GL_SHORT: offset = static_cast<GLuint>(static_cast<const GLshort*>(offsets)[index]); return true;
    case GL_UNSIGNED_INT: offset = static_cast<const GLuint*>(offsets)[index]; return true;
    case GL_INT: offset = static_cast<GLuint>(static_cast<const GLint*>(offsets)[index]); return true;
    default: return false;
  }
}

}  // namespace

GLuint GL_EMULATION::gen_lists(GLsizei range) {
  if (range <= 0) return 0;
  const std::uint64_t first = lists_.empty() ? 1 : std::uint64_t{lists_.rbegin()->first} + 1;
  if (first + static_cast<std::uint64_t>(range) - 1 > UINT32_MAX) {
    warn_once("glGenLists: no room for more lists");
    return 0;
  }
  for (std::uint64_t name = first; name < first + static_cast<std::uint64_t>(range); ++name)
    lists_[static_cast<GLuint>(name)];
  return static_cast<GLuint>(first);
}

void GL_EMULATION::new_list(GLuint list, GLenum mode) {
  if (compiling_ || list == 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE)) {
    warn_once("glNewList ignored: inside another list, list 0 or an unknown mode");
    return;
  }
  compiling_ = true;
  executing_while_compiling_ = mode == GL_COMPILE_AND_EXECUTE;
  compiled_list_ = list;
  recorded_.clear();
}

void GL_EMULATION::end_list() {
  if (!compiling_) {
    warn_once("glEndList ignored: no list is being compiled");
    return;
  }
  compiling_ = false;
  lists_[compiled_list_] = std::move(recorded_);
  recorded_.clear();
}

void GL_EMULATION::list_base(GLuint base) {
  if (!refused_while_compiling("glListBase")) list_base_ = base;
}

void GL_EMULATION::call_list(GLuint list) {
  if (refused_while_compiling("glCallList")) return;
  const auto found = lists_.find(list);
  if (found == lists_.end()) return;
  for (const Call& call : found->second) run(call);
}

void GL_EMULATION::call_lists(GLsizei count, GLenum type, const GLvoid* offsets) {
  if (refused_while_compiling("glCallLists")) return;
  for (GLsizei i = 0; i < count; ++i) {
    GLuint offset = 0;
    if (!list_offset(type, offsets, i, offset)) {
      warn_once("glCallLists ignored: offsets of an unknown type");
      return;
    }
    call_list(list_base_ + offset);
  }
}

void GL_EMULATION::delete_lists(GLuint list, GLsizei range) {
  if (range <= 0) return;
  const std::uint64_t last = std::uint64_t{list} + static_cast<std::uint64_t>(range) - 1;
  lists_.erase(lists_.lower_bound(list),
               last >= UINT32_MAX ? lists_.end() : lists_.upper_bound(static_cast<GLuint>(last)));
}

bool GL_EMULATION::is_list(GLuint list) const { return lists_.count(list) != 0; }

void GL_EMULATION::bind_texture(GLenum target, GLuint texture) {
  take({Call::Kind::bind_texture, target, texture, {}});
}

void GL_EMULATION::push_matrix() { take({Call::Kind::push_matrix}); }

void GL_EMULATION::pop_matrix() { take({Call::Kind::pop_matrix}); }

void GL_EMULATION::translate(GLfloat x, GLfloat y, GLfloat z) { take({Call::Kind::translate, 0, 0, {x, y, z}}); }

void GL_EMULATION::begin(GLenum mode) { take({Call::Kind::begin, mode}); }

void GL_EMULATION::end() { take({Call::Kind::end}); }

void GL_EMULATION::tex_coord(GLfloat s, GLfloat t) { take({Call::Kind::tex_coord, 0, 0, {s, t}}); }

void GL_EMULATION::vertex2(GLfloat x, GLfloat y) { take({Call::Kind::vertex2, 0, 0, {x, y}}); }

void GL_EMULATION::color(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  take({Call::Kind::color, 0, 0, {red, green, blue, alpha}});
}

void GL_EMULATION::enable(GLenum cap) { take({Call::Kind::enable, cap}); }

void GL_EMULATION::disable(GLenum cap) { take({Call::Kind::disable, cap}); }

bool GL_EMULATION::is_enabled(GLenum cap) const {
  const auto found = enabled_.find(cap);
  return found != enabled_.end() ? found->second : initially_enabled(cap);
}

void GL_EMULATION::push_attrib(GLbitfield mask) {
  if (refused_while_compiling("glPushAttrib")) return;
  if ((mask & ~saved_bits) != 0) warn_once("glPushAttrib saves only the current, enable, transform and list bits");
  if (attrib_stack_.size() == stack_depth) {
    warn_once("glPushAttrib ignored: the stack is full");
    return;
  }
  AttribFrame frame;
  frame.mask = mask;
  std::copy(color_, color_ + 4, frame.color);
  std::copy(tex_coord_, tex_coord_ + 2, frame.tex_coord);
  frame.enabled = enabled_;
  gl_.get_integer(GL_MATRIX_MODE, &frame.matrix_mode);
  frame.list_base = list_base_;
  attrib_stack_.push_back(std::move(frame));
}

void GL_EMULATION::pop_attrib() {
  if (refused_while_compiling("glPopAttrib")) return;
  if (attrib_stack_.empty()) {
    warn_once("glPopAttrib ignored: the stack is empty");
    return;
  }
  const AttribFrame frame = std::move(attrib_stack_.back());
  attrib_stack_.pop_back();
  if ((frame.mask & GL_CURRENT_BIT) != 0) {
    run({Call::Kind::color, 0, 0, {frame.color[0], frame.color[1], frame.color[2], frame.color[3]}});
    run({Call::Kind::tex_coord, 0, 0, {frame.tex_coord[0], frame.tex_coord[1]}});
  }
  if ((frame.mask & GL_ENABLE_BIT) != 0) {
    std::set<GLenum> caps;
    for (const auto& flag : enabled_) caps.insert(flag.first);
    for (const auto& flag : frame.enabled) caps.insert(flag.first);
    for (const GLenum cap : caps) {
      const auto saved = frame.enabled.find(cap);
      const bool on = saved != frame.enabled.end() ? saved->second : initially_enabled(cap);
      if (on != is_enabled(cap)) set_enabled(cap, on);
    }
  }
  if ((frame.mask & GL_TRANSFORM_BIT) != 0) gl_.matrix_mode(static_cast<GLenum>(frame.matrix_mode));
  if ((frame.mask & GL_LIST_BIT) != 0) list_base_ = frame.list_base;
}

void GL_EMULATION::push_client_attrib(GLbitfield mask) {
  if ((mask & ~saved_client_bits) != 0) warn_once("glPushClientAttrib saves only the pixel store bit");
  if (client_attrib_stack_.size() == stack_depth) {
    warn_once("glPushClientAttrib ignored: the stack is full");
    return;
  }
  ClientAttribFrame frame;
  frame.mask = mask;
  gl_.get_integer(GL_PACK_ALIGNMENT, &frame.pack_alignment);
  gl_.get_integer(GL_UNPACK_ALIGNMENT, &frame.unpack_alignment);
  client_attrib_stack_.push_back(frame);
}

void GL_EMULATION::pop_client_attrib() {
  if (client_attrib_stack_.empty()) {
    warn_once("glPopClientAttrib ignored: the stack is empty");
    return;
  }
  const ClientAttribFrame frame = client_attrib_stack_.back();
  client_attrib_stack_.pop_back();
  if ((frame.mask & GL_CLIENT_PIXEL_STORE_BIT) == 0) return;
  gl_.pixel_store(GL_PACK_ALIGNMENT, frame.pack_alignment);
  gl_.pixel_store(GL_UNPACK_ALIGNMENT, frame.unpack_alignment);
}

void GL_EMULATION::map1(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat* points) {
  if (refused_while_compiling("glMap1f")) return;
  if (target != GL_MAP1_VERTEX_3 || u1 == u2 || stride < 3 || order < 1 || order > largest_order || points == nullptr) {
    warn_once("glMap1f ignored: only GL_MAP1_VERTEX_3, with u1 != u2, stride >= 3 and order 1 to 30");
    return;
  }
  map1_vertex3_.u1 = u1;
  map1_vertex3_.du = 1.0f / (u2 - u1);
  map1_vertex3_.points.clear();
  for (GLint i = 0; i < order; ++i)
    map1_vertex3_.points.insert(map1_vertex3_.points.end(), points + i * stride, points + i * stride + 3);
}

void GL_EMULATION::eval_coord1(GLfloat u) {
  if (refused_while_compiling("glEvalCoord1f") || !is_enabled(GL_MAP1_VERTEX_3)) return;
  GLfloat vertex[3];
  bezier_point(map1_vertex3_.points, (u - map1_vertex3_.u1) * map1_vertex3_.du, vertex);
  gl_.vertex3(vertex[0], vertex[1], vertex[2]);
}

void GL_EMULATION::take(const Call& call) {
  if (compiling_) recorded_.push_back(call);
  if (!compiling_ || executing_while_compiling_) run(call);
}

void GL_EMULATION::run(const Call& call) {
  const GLfloat* v = call.values;
  switch (call.kind) {
    case Call::Kind::bind_texture: gl_.bind_texture(call.name, call.number); break;
    case Call::Kind::push_matrix: gl_.push_matrix(); break;
    case Call::Kind::pop_matrix: gl_.pop_matrix(); break;
    case Call::Kind::translate: gl_.translate(v[0], v[1], v[2]); break;
    case Call::Kind::begin: gl_.begin(call.name); break;
    case Call::Kind::end: gl_.end(); break;
    case Call::Kind::tex_coord:
      std::copy(v, v + 2, tex_coord_);
      gl_.tex_coord(v[0], v[1]);
      break;
    case Call::Kind::vertex2: gl_.vertex2(v[0], v[1]); break;
    case Call::Kind::color:
      std::copy(v, v + 4, color_);
      gl_.color(v[0], v[1], v[2], v[3]);
      break;
    case Call::Kind::enable: set_enabled(call.name, true); break;
    case Call::Kind::disable: set_enabled(call.name, false); break;
  }
}

void GL_EMULATION::set_enabled(GLenum cap, bool on) {
  enabled_[cap] = on;
  if (is_evaluator_flag(cap)) return;
  if (on) gl_.enable(cap);
  else gl_.disable(cap);
}

bool GL_EMULATION::refused_while_compiling(const char* what) {
  if (!compiling_) return false;
  warn_once(std::string(what) + " inside a list is not recorded; the call is dropped");
  return true;
}

void GL_EMULATION::warn_once(const std::string& message) {
  if (said_.insert(message).second) std::fprintf(stderr, "GL emulation: %s\n", message.c_str());
}

}  // namespace grains
