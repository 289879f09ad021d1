#include "reports/ReportFiles.h"

#include "data/engine/TableSchema.h"
#include "reports/ReportComponent.h"
#include "ui/Error.h"

namespace corvanta::reports {

namespace fs = std::filesystem;

namespace {

bool hasDirectory(const std::string& name) {
  return name.find_first_of("\\/") != std::string::npos;
}

bool windowsAbsolute(const std::string& name) {
  return (name.size() >= 2 && name[1] == ':') || name.rfind("\\\\", 0) == 0;
}

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

}  // namespace

fs::path definitionPath(const EngineConfig& config, const std::string& directory,
                        const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  if (windowsAbsolute(name) || hasDirectory(name)) return config.resolve(name);
  if (!directory.empty()) return config.resolve(directory) / name;
  return config.resolve(kReportDirectory) / name;
}

std::string shownName(const std::string& directory, const std::string& name) {
  if (name.empty() || name[0] == '/' || windowsAbsolute(name) || directory.empty()) return name;
  const char last = directory.back();
  return directory + (last == '\\' || last == '/' ? "" : (directory[0] == '/' ? "/" : "\\")) + name;
}

std::optional<fs::path> findFileNoCase(const fs::path& wanted, const std::string& extension) {
  auto find = [](const fs::path& p) -> std::optional<fs::path> {
    if (isFile(p)) return p;
    std::error_code ec;
    const fs::path dir = p.parent_path().empty() ? fs::path(".") : p.parent_path();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
      if (equalsNoCase(it->path().filename().string(), p.filename().string()) && isFile(it->path()))
        return it->path();
    return std::nullopt;
  };
  if (wanted.filename().empty()) return std::nullopt;
  if (auto f = find(wanted)) return f;
  if (!extension.empty() && !wanted.has_extension())
    return find(fs::path(wanted.string() + extension));
  return std::nullopt;
}

HelpFiles::HelpFiles(const EngineConfig& config, std::vector<fs::path> searchPath)
    : config_(config), searchPath_(std::move(searchPath)) {
  if (searchPath_.empty()) searchPath_.push_back(EngineConfig::shareDirectory() / "help");
}

fs::path HelpFiles::locate(const std::string& helpFile) const {
  if (helpFile.empty()) throw Error("No help file is chosen");
  if (hasDirectory(helpFile) || windowsAbsolute(helpFile)) {
    const fs::path p = helpFile[0] == '/' ? fs::path(helpFile) : config_.resolve(helpFile);
    std::error_code ec;
    if (fs::is_directory(p, ec))
      throw Error("No help file is chosen: " + helpFile + " is a folder");
    if (auto f = findFileNoCase(p)) return *f;
    throw Error("Cannot find the help file " + helpFile + " (looked for " + p.string() + ")");
  }
  for (const auto& dir : searchPath_)
    if (auto f = findFileNoCase(dir / helpFile)) return *f;
  std::string where;
  for (const auto& dir : searchPath_) where += (where.empty() ? "" : ", ") + dir.string();
  throw Error("Cannot find the help file " + helpFile + " (looked in " + where + ")");
}

}  // namespace corvanta::reports
