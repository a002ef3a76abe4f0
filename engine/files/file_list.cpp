#include "files/file_list.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void listing_failure() {
  std::printf("Oula \n");
  std::exit(-1);
}

bool has_extension(const fs::path& file, const std::string& extension) {
  const std::string name = file.filename().string();
  return name.size() > extension.size() && name[name.size() - extension.size() - 1] == '.' &&
         strcasecmp(name.c_str() + name.size() - extension.size(), extension.c_str()) == 0;
}

bool by_name(const fs::path& a, const fs::path& b) {
  const std::string x = a.filename().string(), y = b.filename().string();
  const int folded = strcasecmp(x.c_str(), y.c_str());
  return folded != 0 ? folded < 0 : x < y;
}

// A folder's matching files by name, then each subfolder's in turn, by name.
// Unreadable folders and symbolic links to folders are passed over.
void list_folder(const fs::path& folder, const std::string& extension, std::vector<fs::path>& found) {
  std::vector<fs::path> files, folders;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_directory(error) && !entry.is_symlink(error)) folders.push_back(entry.path());
    else if (entry.is_regular_file(error) && has_extension(entry.path(), extension)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(), by_name);
  std::sort(folders.begin(), folders.end(), by_name);
  found.insert(found.end(), files.begin(), files.end());
  for (const fs::path& sub : folders) list_folder(sub, extension, found);
}

// One path a line, each twice, as the listing has always held every file.
void write_listing(const fs::path& listing, const std::vector<fs::path>& files) {
  std::ofstream out(listing, std::ios::trunc);
  for (const fs::path& file : files) out << file.string() << '\n' << file.string() << '\n';
  if (!out.flush()) listing_failure();
}

void copy_bounded(const std::string& text, char* result, std::size_t result_size) {
  if (result_size == 0) return;
  std::snprintf(result, result_size, "%s", text.c_str());
}

// Index of the first entry whose file name part equals current's, letter
// case ignored; the list's size when none does.
std::size_t find_entry(const std::vector<std::string>& list, const char* current) {
  const char* wanted = file_name_part(current);
  for (std::size_t i = 0; i < list.size(); ++i)
    if (strcasecmp(file_name_part(list[i].c_str()), wanted) == 0) return i;
  return list.size();
}

}  // namespace

namespace grains {

std::vector<std::string> read_file_listing(std::istream& in) {
  std::vector<std::string> list;
  for (std::string first, second; std::getline(in, first) && std::getline(in, second);) list.push_back(second);
  return {list.rbegin(), list.rend()};
}

}  // namespace grains

std::vector<std::string> list_files(const std::string& directory, const std::string& extension) {
  std::vector<fs::path> files;
  list_folder(directory, extension, files);
  const fs::path listing = fs::path(directory) / ".." / "listing.v";
  write_listing(listing, files);
  std::ifstream in(listing);
  if (!in) listing_failure();
  return grains::read_file_listing(in);
}

void next_file_name(const char* current, const std::string& directory, const std::string& extension, char* result,
                    std::size_t result_size) {
  const std::vector<std::string> list = list_files(directory, extension);
  if (current == nullptr || current[0] == '\0') {
    if (!list.empty()) copy_bounded(list.front(), result, result_size);
  } else {
    std::printf("OK-Suivant [%d]\n", static_cast<int>(list.size()));
    const std::size_t match = find_entry(list, current);
    if (match == list.size()) return;
    copy_bounded(list[std::min(match + 1, list.size() - 1)], result, result_size);
  }
  std::printf("retour recupere_nom_fichier_suivant[[%s]]\n", result_size > 0 ? result : "");
}

void previous_file_name(const char* current, const std::string& directory, const std::string& extension, char* result,
                        std::size_t result_size) {
  const std::vector<std::string> list = list_files(directory, extension);
  if (current == nullptr || current[0] == '\0') {
    if (!list.empty()) copy_bounded(list.back(), result, result_size);
    return;
  }
  const std::size_t match = find_entry(list, current);
  if (match == list.size()) return;
  copy_bounded(list[match == 0 ? 0 : match - 1], result, result_size);
}

const char* file_name_part(const char* path) {
  for (std::size_t i = std::strlen(path); i-- > 1;)
    if (path[i] == '/' || path[i] == '\\' || path[i] == '\n') return path + i + 1;
  return path;
}
