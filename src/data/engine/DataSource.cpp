#include "data/engine/DataSource.h"

#include <algorithm>

#include "data/engine/Table.h"

namespace corvanta {

DataSource::DataSource(std::string name, Table& table, bool autoEdit)
    : name_(std::move(name)), table_(table), autoEdit_(autoEdit) {
  table_.attach(this);
}

DataSource::~DataSource() {
  table_.detach(this);
}

void DataSource::addObserver(DataObserver* o) {
  if (std::find(observers_.begin(), observers_.end(), o) == observers_.end())
    observers_.push_back(o);
}

void DataSource::removeObserver(DataObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void DataSource::notify(DataEvent event, const Field* field) {
  const auto snapshot = observers_;
  for (DataObserver* o : snapshot)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
      o->dataEvent(event, field);
}

}  // namespace corvanta
