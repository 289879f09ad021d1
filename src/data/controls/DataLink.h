#pragma once
// The binding every data-aware control carries: a data source named "Module.Source", found
// when that data module exists (a window may be created before it), and optionally a field.
#include <string>

#include "data/engine/DataSource.h"

namespace corvanta {

class Application;
class Field;
class Table;

class DataLink {
 public:
  DataLink(DataObserver& owner, std::string sourcePath, std::string fieldName);
  ~DataLink();
  DataLink(const DataLink&) = delete;
  DataLink& operator=(const DataLink&) = delete;

  // Finds the source if not bound yet; true when this call bound it.
  bool bind(const Application& app);
  bool bound() const { return source_ != nullptr; }
  DataSource* source() const { return source_; }
  Table* table() const;
  // The bound field, when the source is bound and the field exists (else nullptr).
  Field* field() const { return field_; }
  bool active() const;  // bound and its table open
  const std::string& sourcePath() const { return sourcePath_; }
  const std::string& fieldName() const { return fieldName_; }

 private:
  DataObserver& owner_;
  std::string sourcePath_, fieldName_;
  DataSource* source_ = nullptr;
  Field* field_ = nullptr;
};

}  // namespace corvanta
