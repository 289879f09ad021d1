#include "LegacyImport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include "LegacyTable.h"
#include "data/engine/Engine.h"
#include "data/engine/Field.h"
#include "data/engine/TableFile.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

constexpr size_t kSkipsShown = 20;

// The legacy file of a table: its file name in SOURCE or in a folder just below it.
fs::path findLegacyFile(const fs::path& source, const TableDef& def) {
  std::error_code ec;
  std::vector<fs::path> dirs{source};
  for (const auto& e : fs::directory_iterator(source, ec))
    if (e.is_directory(ec)) dirs.push_back(e.path());
  for (const auto& dir : dirs)
    for (const auto& e : fs::directory_iterator(dir, ec))
      if (e.is_regular_file(ec) && equalsNoCase(e.path().filename().string(), def.fileName))
        return e.path();
  throw Error("'" + source.string() + "' holds no legacy table file " + def.fileName);
}

std::string shown(const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* d = std::get_if<double>(&v)) return formatGeneral15(*d);
  if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  return "";
}

// A legacy value as our field takes it; throws an Error saying why it cannot.
Value convert(const FieldDef& f, const Value& v) {
  if (isNull(v)) return v;
  switch (f.type) {
    case FieldType::Text:
      if (std::holds_alternative<std::string>(v)) return v;
      if (const auto* d = std::get_if<double>(&v)) return formatGeneral15(*d);
      return std::to_string(std::get<std::int64_t>(v));
    case FieldType::Float: {
      if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
      if (std::holds_alternative<double>(v)) return v;
      const std::string& s = std::get<std::string>(v);
      double d = 0;
      if (s.find_first_not_of(' ') == std::string::npos) return Value{};
      if (!parseFloatStrict(s, d))
        throw Error("'" + s + "' is not a valid floating point value for field '" + f.name + "'");
      return d;
    }
    case FieldType::AutoInc: {
      std::int64_t n = 0;
      if (const auto* i = std::get_if<std::int64_t>(&v))
        n = *i;
      else if (const auto* d = std::get_if<double>(&v);
               d && *d == static_cast<double>(static_cast<std::int64_t>(*d)))
        n = static_cast<std::int64_t>(*d);
      else if (const auto* s = std::get_if<std::string>(&v); !s || !parseIntegerStrict(*s, n))
        throw Error("'" + shown(v) + "' is not a valid number for field '" + f.name + "'");
      if (n <= 0)
        throw Error("'" + shown(v) + "' is not a valid number for field '" + f.name + "'");
      return n;
    }
  }
  return v;
}

LegacyTableReport importTable(const TableDef& def, const fs::path& legacyFile,
                              const fs::path& target) {
  LegacyTableReport r;
  r.table = def.tableName;
  r.source = legacyFile;
  LegacyTable legacy(legacyFile);
  r.codePage = legacy.codePage();
  // Our field i takes legacy field map[i] (-1: none).  Names match without regard to case.
  std::vector<int> from(def.fields.size(), -1);
  std::vector<bool> used(legacy.fields().size(), false);
  for (size_t i = 0; i < def.fields.size(); ++i)
    for (size_t j = 0; j < legacy.fields().size(); ++j)
      if (!used[j] && equalsNoCase(legacy.fields()[j].name, def.fields[i].name) &&
          legacy.fields()[j].readable) {
        from[i] = static_cast<int>(j);
        used[j] = true;
        break;
      }
  for (size_t i = 0; i < def.fields.size(); ++i)
    if (from[i] < 0)
      r.notes.push_back("field '" + def.fields[i].name +
                        "' is not in the legacy table; left empty");
  for (size_t j = 0; j < legacy.fields().size(); ++j)
    if (!used[j])
      r.notes.push_back("legacy field '" + legacy.fields()[j].name +
                        "' has no place in this table; not imported");

  TableFile::create(def, target);
  TableFile out(def, target);
  out.beginBulk();
  std::int64_t cut = 0;
  try {
    for (std::int64_t n = 0; n < legacy.recordCount(); ++n) {
      const std::vector<Value> in = legacy.record(n);
      ++r.read;
      std::vector<Value> values(def.fields.size());
      try {
        for (size_t i = 0; i < def.fields.size(); ++i) {
          if (from[i] < 0) continue;
          values[i] = convert(def.fields[i], in[static_cast<size_t>(from[i])]);
          if (const auto* s = std::get_if<std::string>(&values[i]);
              s && def.fields[i].type == FieldType::Text &&
              cutToChars(*s, def.fields[i].size).size() < s->size())
            ++cut;
        }
        out.insert(values);
        ++r.imported;
      } catch (const Error& e) {
        ++r.skipped;
        if (r.skips.size() < kSkipsShown)
          r.skips.push_back("record " + std::to_string(n + 1) + ": " + e.what());
      }
    }
    out.commitBulk();
  } catch (...) {
    out.rollbackBulk();
    throw;
  }
  if (r.skipped > static_cast<std::int64_t>(r.skips.size()))
    r.skips.push_back("... and " +
                      std::to_string(r.skipped - static_cast<std::int64_t>(r.skips.size())) +
                      " more");
  if (cut)
    r.notes.push_back(std::to_string(cut) + " text(s) longer than their field, cut to its size");
  return r;
}

}  // namespace

LegacyImportReport importLegacyTables(const fs::path& source, const fs::path& dest, bool dryRun) {
  std::error_code ec;
  if (!fs::is_directory(source, ec))
    throw Error("The legacy tables' directory '" + source.string() + "' does not exist");
  if (fs::exists(dest, ec) && (!fs::is_directory(dest, ec) || !fs::is_empty(dest, ec)))
    throw Error("The destination '" + dest.string() +
                "' is not empty; the import writes only into a new or empty directory");
  // Every legacy file is found before anything is written.
  std::vector<std::pair<const TableDef*, fs::path>> files;
  for (const auto& def : shopTables()) files.emplace_back(&def, findLegacyFile(source, def));

  const fs::path parent = dest.parent_path();
  fs::create_directories(parent, ec);
  const fs::path building =
      parent / ("." + dest.filename().string() + ".import-" + std::to_string(::getpid()));
  fs::remove_all(building, ec);
  if (::mkdir(building.c_str(), 0700) != 0)
    throw Error("Cannot create '" + building.string() + "': " + std::strerror(errno));
  LegacyImportReport report;
  try {
    const EngineConfig cfg = EngineConfig::forDataDirectory(building);
    for (const auto& [alias, dir] : cfg.aliases())
      if (::mkdir(dir.c_str(), 0700) != 0)
        throw Error("Cannot create '" + dir.string() + "': " + std::strerror(errno));
    for (const auto& [def, file] : files)
      report.tables.push_back(importTable(*def, file, *cfg.alias(def->alias) / def->fileName));
    if (dryRun) {
      fs::remove_all(building, ec);
      return report;
    }
    // An empty destination directory gives way to the complete one.
    if (fs::exists(dest, ec)) fs::remove(dest, ec);
    if (::rename(building.c_str(), dest.c_str()) != 0)
      throw Error("Cannot rename '" + building.string() + "' to '" + dest.string() +
                  "': " + std::strerror(errno));
  } catch (...) {
    fs::remove_all(building, ec);
    throw;
  }
  return report;
}

}  // namespace corvanta
