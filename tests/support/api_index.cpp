#include "support/api_index.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

bool is_identifier_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool is_identifier(const std::string& token) {
  return !token.empty() && (std::isalpha(static_cast<unsigned char>(token[0])) != 0 || token[0] == '_');
}

// The text without comments and preprocessor lines.
std::string code_of(const std::string& text) {
  std::string code;
  bool line_start = true, in_directive = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      in_directive = in_directive && i > 0 && text[i - 1] == '\\';
      line_start = true;
      code += '\n';
      continue;
    }
    if (line_start && c == '#') in_directive = true;
    if (!std::isspace(static_cast<unsigned char>(c))) line_start = false;
    if (in_directive) continue;
    if (text.compare(i, 2, "//") == 0) {
      while (i + 1 < text.size() && text[i + 1] != '\n') ++i;
    } else if (text.compare(i, 2, "/*") == 0) {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string::npos ? text.size() : end + 1;
      code += ' ';
    } else {
      code += c;
    }
  }
  return code;
}

// Identifiers, numbers, string and character literals and "::" (one token
// each) and single punctuation characters.
std::vector<std::string> tokens_of(const std::string& code) {
  std::vector<std::string> tokens;
  for (std::size_t i = 0; i < code.size();) {
    const char c = code[i];
    std::size_t end = i + 1;
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    if (is_identifier_char(c)) {
      while (end < code.size() && is_identifier_char(code[end])) ++end;
    } else if (code.compare(i, 2, "::") == 0) {
      end = i + 2;
    } else if (c == '"' || c == '\'') {
      while (end < code.size() && code[end] != c) end += code[end] == '\\' ? 2 : 1;
      ++end;
    }
    tokens.push_back(code.substr(i, end - i));
    i = end;
  }
  return tokens;
}

using Tokens = std::vector<std::string>;

std::size_t find_token(const Tokens& tokens, const std::string& token) {
  return static_cast<std::size_t>(std::find(tokens.begin(), tokens.end(), token) - tokens.begin());
}

bool has_token(const Tokens& tokens, const std::string& token) { return find_token(tokens, token) < tokens.size(); }

// The part of a statement after "template <...>".
Tokens without_template(const Tokens& statement) {
  if (statement.empty() || statement[0] != "template") return statement;
  int depth = 0;
  for (std::size_t i = 1; i < statement.size(); ++i) {
    depth += statement[i] == "<" ? 1 : statement[i] == ">" ? -1 : 0;
    if (depth == 0) return Tokens(statement.begin() + static_cast<long>(i) + 1, statement.end());
  }
  return {};
}

class HeaderReader {
 public:
  explicit HeaderReader(const std::string& text) : tokens_(tokens_of(code_of(text))) {}

  std::vector<Declaration> read() {
    for (position_ = 0; position_ < tokens_.size(); ++position_) take(tokens_[position_]);
    return found_;
  }

 private:
  struct Scope {
    std::string name;  // the class, "" for a namespace
    bool is_class;
    bool visible;  // its members are public, as are its parents'
  };

  void take(const std::string& token) {
    if (token == "(" || token == "[") ++depth_;
    if (token == ")" || token == "]") --depth_;
    if (depth_ > 0 || token == ")" || token == "]") {
      statement_.push_back(token);
    } else if (token == ":" && statement_.size() == 1 && is_access(statement_[0])) {
      scopes_.back().visible = statement_[0] == "public" && parent_visible();
      statement_.clear();
    } else if (token == ";") {
      finish_statement();
    } else if (token == "{") {
      open_brace();
    } else if (token == "}") {
      if (scopes_.size() > 1) scopes_.pop_back();
      statement_.clear();
    } else {
      statement_.push_back(token);
    }
  }

  static bool is_access(const std::string& token) {
    return token == "public" || token == "private" || token == "protected";
  }
  bool parent_visible() const { return scopes_.size() < 2 || scopes_[scopes_.size() - 2].visible; }
  bool visible() const { return scopes_.back().visible; }

  std::string scope_name() const {
    std::string name;
    for (const Scope& scope : scopes_)
      if (scope.is_class) name += (name.empty() ? "" : "::") + scope.name;
    return name;
  }

  void add(const std::string& name) {
    const Declaration declaration{scope_name(), name};
    if (!scopes_.empty() && scopes_.back().is_class && name == scopes_.back().name) return;  // a constructor
    if (std::find(found_.begin(), found_.end(), declaration) == found_.end()) found_.push_back(declaration);
  }

  void open_brace() {
    const Tokens statement = without_template(statement_);
    const std::string first = statement.empty() ? "" : statement[0];
    if (first == "namespace") {
      scopes_.push_back({"", false, visible()});
    } else if ((first == "class" || first == "struct") && statement.size() > 1) {
      if (visible()) add(statement[1]);
      scopes_.push_back({statement[1], true, visible() && first == "struct"});
    } else if (first == "enum") {
      read_enumeration(statement);
      return;
    } else if (is_function(statement)) {
      finish_statement();
      skip_braces();
      return;
    } else {
      skip_braces();  // an initialiser: the statement goes on to its ';'
      return;
    }
    statement_.clear();
  }

  static bool is_function(const Tokens& statement) { return find_token(statement, "(") < find_token(statement, "="); }

  // Moves past the '}' that matches the '{' at position_.
  void skip_braces() {
    for (int depth = 0; position_ < tokens_.size(); ++position_) {
      depth += tokens_[position_] == "{" ? 1 : tokens_[position_] == "}" ? -1 : 0;
      if (depth == 0) return;
    }
  }

  // The enumeration and its enumerators, both in the enclosing scope.
  void read_enumeration(const Tokens& statement) {
    const std::string name = statement.back();
    const bool shown = visible() && is_identifier(name) && name != "class";
    if (shown) add(name);
    for (++position_; position_ < tokens_.size() && tokens_[position_] != "}"; ++position_) {
      const std::string& token = tokens_[position_];
      const std::string& previous = tokens_[position_ - 1];
      if (shown && is_identifier(token) && (previous == "{" || previous == ",")) add(token);
    }
    statement_ = {"enum"};  // its ';' ends nothing more
  }

  void finish_statement() {
    const Tokens statement = without_template(statement_);
    statement_.clear();
    if (statement.empty() || !visible()) return;
    const std::string& first = statement[0];
    if (first == "enum" || first == "friend" || first == "static_assert" || has_token(statement, "operator")) return;
    if ((first == "class" || first == "struct") && statement.size() == 2) return;  // declared, defined elsewhere
    if (first == "using") {
      if (statement.size() > 1 && statement[1] != "namespace") add(statement[1]);
      return;
    }
    if (is_function(statement)) add_function(statement);
    else add_variables(statement);
  }

  void add_function(const Tokens& statement) {
    const std::size_t open = find_token(statement, "(");
    if (open + 2 < statement.size() && statement[open + 1] == "*") {  // a pointer to a function
      add(statement[open + 2]);
      return;
    }
    if (open == 0 || has_token(statement, "delete")) return;
    if (open >= 2 && statement[open - 2] == "~") return;
    if (is_identifier(statement[open - 1])) add(statement[open - 1]);
  }

  // Each declarator's name: the last identifier before its '[', '=' or ':'.
  void add_variables(const Tokens& statement) {
    std::string name;
    bool named = false;
    int depth = 0;
    for (const std::string& token : statement) {
      depth += token == "(" || token == "[" || token == "<" ? 1 : token == ")" || token == "]" || token == ">" ? -1 : 0;
      if (token == "," && depth == 0) {
        if (!name.empty()) add(name);
        name.clear();
        named = false;
      } else if (token == "[" || token == "=" || token == ":") {
        named = named || !name.empty();
      } else if (depth == 0 && !named && is_identifier(token) && token != "const") {
        name = token;
      }
    }
    if (!name.empty()) add(name);
  }

  Tokens tokens_;
  std::size_t position_ = 0;
  int depth_ = 0;
  Tokens statement_;
  std::vector<Scope> scopes_{{"", false, true}};
  std::vector<Declaration> found_;
};

// The code spans (text between backticks) of text.
std::vector<std::string> code_spans(const std::string& text) {
  std::vector<std::string> spans;
  for (std::size_t open = text.find('`'); open != std::string::npos;) {
    const std::size_t close = text.find('`', open + 1);
    if (close == std::string::npos) break;
    spans.push_back(text.substr(open + 1, close - open - 1));
    open = text.find('`', close + 1);
  }
  return spans;
}

bool names(const std::string& span, const std::string& name) {
  for (std::size_t at = span.find(name); at != std::string::npos; at = span.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    if ((at == 0 || !is_identifier_char(span[at - 1])) && (end == span.size() || !is_identifier_char(span[end])))
      return true;
  }
  return false;
}

int heading_level(const std::string& line) {
  const std::size_t hashes = line.find_first_not_of('#');
  return hashes > 0 && hashes != std::string::npos && line[hashes] == ' ' ? static_cast<int>(hashes) : 0;
}

// The lines of the section whose heading holds the code span `name`.
std::string section_of(const std::string& index, const std::string& name) {
  std::istringstream lines(index);
  std::string section;
  int level = 0;
  for (std::string line; std::getline(lines, line);) {
    const int heading = heading_level(line);
    if (level > 0 && heading > 0 && heading <= level) break;
    if (level > 0) section += line + '\n';
    const std::vector<std::string> spans = code_spans(line);
    if (level == 0 && heading > 0 && std::find(spans.begin(), spans.end(), name) != spans.end()) level = heading;
  }
  return section;
}

}  // namespace

std::vector<Declaration> public_declarations(const std::string& header_text) {
  return HeaderReader(header_text).read();
}

std::vector<std::string> missing_from_index(const std::vector<Declaration>& declarations, const std::string& index) {
  std::vector<std::string> missing;
  for (const Declaration& declaration : declarations) {
    const std::string outer_class = declaration.scope.substr(0, declaration.scope.find("::"));
    const std::vector<std::string> spans = code_spans(outer_class.empty() ? index : section_of(index, outer_class));
    if (std::none_of(spans.begin(), spans.end(),
                     [&](const std::string& span) { return names(span, declaration.name); }))
      missing.push_back(outer_class.empty() ? declaration.name : outer_class + "::" + declaration.name);
  }
  return missing;
}
