#include "data/controls/DataLink.h"

#include "data/DataModule.h"

namespace corvanta {

DataLink::DataLink(DataObserver& owner, std::string sourcePath, std::string fieldName)
    : owner_(owner), sourcePath_(std::move(sourcePath)), fieldName_(std::move(fieldName)) {}

DataLink::~DataLink() {
  if (source_) source_->removeObserver(&owner_);
}

bool DataLink::bind(const Application& app) {
  if (source_) return false;
  source_ = findDataSource(app, sourcePath_);
  if (!source_) return false;
  if (!fieldName_.empty()) field_ = source_->table().findField(fieldName_);
  source_->addObserver(&owner_);
  return true;
}

Table* DataLink::table() const {
  return source_ ? &source_->table() : nullptr;
}

bool DataLink::active() const {
  return source_ && source_->table().active();
}

}  // namespace corvanta
