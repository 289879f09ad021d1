#pragma once
// What a printed PDF says, read back with poppler's tools, for tests that check paperwork as
// a person would read it.
#include <filesystem>
#include <string>
#include <vector>

namespace corvanta::test {

// The text of a PDF (pages first..last; 0: to the end), laid out as on paper.  Empty when
// the file cannot be read.
std::string pdfText(const std::filesystem::path& pdf, int first = 1, int last = 0);
// The number of pages, or -1 when the file cannot be read.
int pdfPages(const std::filesystem::path& pdf);

// One word as drawn on a page of a PDF: its text and its box, in points from the page's top
// left.  Pages count from 1.
struct PdfWord {
  int page;
  std::string text;
  double left, top, right, bottom;
};
// Every word of the PDF, page by page in reading order; empty when the file cannot be read.
std::vector<PdfWord> pdfWords(const std::filesystem::path& pdf);

}  // namespace corvanta::test
