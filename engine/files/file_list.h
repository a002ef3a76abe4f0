// Stepping through every file of one kind below a folder, as a picture
// browser with next and previous buttons does.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

// Every file whose name ends in "." + extension (letter case ignored) in
// directory and below. The listing is written to "listing.v" beside the
// directory, two lines per file, and read back from there: the list holds
// the files in the reverse of the listing's order. A listing that cannot be
// written or read prints "Oula " and ends the process with status -1.
std::vector<std::string> list_files(const std::string& directory, const std::string& extension);

namespace grains {

// Reads a listing: of every two lines the second is kept, and each kept
// line goes to the front of the list.
std::vector<std::string> read_file_listing(std::istream& in);

}  // namespace grains

// The file after current in the list (current itself when it is the last),
// matched by file name part, letter case ignored; the first file when
// current is empty. Writes at most result_size bytes, terminator included,
// into result; leaves it unchanged when nothing matches or the list is empty.
void next_file_name(const char* current, const std::string& directory, const std::string& extension, char* result,
                    std::size_t result_size);

// The same towards the front of the list; the last file when current is empty.
void previous_file_name(const char* current, const std::string& directory, const std::string& extension, char* result,
                        std::size_t result_size);

// The text after the last '/', '\\' or line break, looked for from the end
// down to the second character; the whole path when there is none.
const char* file_name_part(const char* path);
