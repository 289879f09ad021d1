#pragma once
// What a printed PDF says, read back with poppler's tools, for tests that check paperwork as
// a person would read it.
#include <filesystem>
#include <string>

namespace corvanta::test {

// The text of a PDF (pages first..last; 0: to the end), laid out as on paper.  Empty when
// the file cannot be read.
std::string pdfText(const std::filesystem::path& pdf, int first = 1, int last = 0);
// The number of pages, or -1 when the file cannot be read.
int pdfPages(const std::filesystem::path& pdf);

}  // namespace corvanta::test
