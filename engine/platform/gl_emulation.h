// GL 1.1 features built from simpler GL calls, for a GL that lacks them (the
// browser's): display lists, the attribute stacks and the one-dimensional
// evaluator, as far as the engine uses them. It runs on any GL through a
// table of that GL's calls, so the desktop's GL can check it.
//
// What it covers:
// - Lists record the calls listed under "Calls a list records" made between
//   new_list and end_list (GL_COMPILE, or GL_COMPILE_AND_EXECUTE which also
//   runs them); call_list and call_lists replay them, the latter adding the
//   list base. A call of another kind made while a list is being compiled
//   is not recorded: it says so once on stderr and is dropped.
// - push_attrib saves, by bit: GL_CURRENT_BIT the current colour and
//   texture coordinates; GL_ENABLE_BIT every enable flag; GL_TRANSFORM_BIT
//   the matrix mode; GL_LIST_BIT the list base. push_client_attrib saves
//   with GL_CLIENT_PIXEL_STORE_BIT the pack and unpack alignments. Other
//   bits are said once on stderr and not saved. Each stack is 16 deep.
// - The evaluator: GL_MAP1_VERTEX_3 with its enable flag; eval_coord1 gives
//   the GL the same vertex as a GL's own evaluator computes.
// The current colour, texture coordinates and enable flags are kept here
// from the calls that pass through, as the browser's GL cannot say them:
// every call that sets them must pass through.
// Misuse that a GL answers with an error code (a stack overflow, a list
// name 0, ...) changes nothing, as in GL, and says so once on stderr.
#pragma once

#include <GL/gl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace grains {

// The calls of the GL underneath that the emulation makes.
struct GL_CALLS {
  void (*bind_texture)(GLenum target, GLuint texture);
  void (*push_matrix)();
  void (*pop_matrix)();
  void (*translate)(GLfloat x, GLfloat y, GLfloat z);
  void (*begin)(GLenum mode);
  void (*end)();
  void (*tex_coord)(GLfloat s, GLfloat t);
  void (*vertex2)(GLfloat x, GLfloat y);
  void (*vertex3)(GLfloat x, GLfloat y, GLfloat z);
  void (*color)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
  void (*enable)(GLenum cap);
  void (*disable)(GLenum cap);
  void (*matrix_mode)(GLenum mode);
  void (*pixel_store)(GLenum name, GLint value);
  void (*get_integer)(GLenum name, GLint* value);
};

class GL_EMULATION {
 public:
  // The GL's state must be its initial one, as at context creation.
  explicit GL_EMULATION(const GL_CALLS& gl) : gl_(gl) {}

  // Display lists, as glGenLists, glNewList, ... do.
  GLuint gen_lists(GLsizei range);
  void new_list(GLuint list, GLenum mode);
  void end_list();
  void list_base(GLuint base);
  void call_list(GLuint list);
  // type is GL_UNSIGNED_BYTE, GL_BYTE, GL_UNSIGNED_SHORT, GL_SHORT,
  // GL_UNSIGNED_INT or GL_INT.
  void call_lists(GLsizei count, GLenum type, const GLvoid* offsets);
  void delete_lists(GLuint list, GLsizei range);
  bool is_list(GLuint list) const;

  // Calls a list records; outside a list they run at once.
  void bind_texture(GLenum target, GLuint texture);
  void push_matrix();
  void pop_matrix();
  void translate(GLfloat x, GLfloat y, GLfloat z);
  void begin(GLenum mode);
  void end();
  void tex_coord(GLfloat s, GLfloat t);
  void vertex2(GLfloat x, GLfloat y);
  void color(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
  void enable(GLenum cap);
  void disable(GLenum cap);

  // The attribute stacks, as glPushAttrib, glPopAttrib, ... do.
  void push_attrib(GLbitfield mask);
  void pop_attrib();
  void push_client_attrib(GLbitfield mask);
  void pop_client_attrib();

  // The evaluator, as glMap1f and glEvalCoord1f do.
  void map1(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat* points);
  void eval_coord1(GLfloat u);

 private:
  // One recordable call and its arguments.
  struct Call {
    enum class Kind {
      bind_texture,
      push_matrix,
      pop_matrix,
      translate,
      begin,
      end,
      tex_coord,
      vertex2,
      color,
      enable,
      disable
    };
    Kind kind;
    GLenum name = 0;
    GLuint number = 0;
    GLfloat values[4] = {};
  };
  struct AttribFrame {
    GLbitfield mask = 0;
    GLfloat color[4] = {};
    GLfloat tex_coord[2] = {};
    std::map<GLenum, bool> enabled;
    GLint matrix_mode = 0;
    GLuint list_base = 0;
  };
  struct ClientAttribFrame {
    GLbitfield mask = 0;
    GLint pack_alignment = 0, unpack_alignment = 0;
  };
  struct Map1 {
    GLfloat u1 = 0.0f, du = 1.0f;                   // du = 1 / (u2 - u1)
    std::vector<GLfloat> points{0.0f, 0.0f, 0.0f};  // order points of x, y, z
  };

  bool is_enabled(GLenum cap) const;
  void take(const Call& call);
  void run(const Call& call);
  void set_enabled(GLenum cap, bool on);
  bool refused_while_compiling(const char* what);
  void warn_once(const std::string& message);

  GL_CALLS gl_;
  std::map<GLuint, std::vector<Call>> lists_;
  bool compiling_ = false;
  bool executing_while_compiling_ = false;
  GLuint compiled_list_ = 0;
  std::vector<Call> recorded_;
  GLuint list_base_ = 0;

  GLfloat color_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  GLfloat tex_coord_[2] = {0.0f, 0.0f};
  std::map<GLenum, bool> enabled_;  // flags set since creation; the others keep GL's initial value
  std::vector<AttribFrame> attrib_stack_;
  std::vector<ClientAttribFrame> client_attrib_stack_;
  Map1 map1_vertex3_;
  std::set<std::string> said_;
};

}  // namespace grains
