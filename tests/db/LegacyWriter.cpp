#include "LegacyWriter.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern "C" {
#include <paradox.h>
}

namespace corvanta::test {

namespace {

void* pxAlloc(pxdoc_t*, size_t size, const char*) {
  return std::calloc(1, size ? size : 1);
}
void* pxRealloc(pxdoc_t*, void* mem, size_t size, const char*) {
  return std::realloc(mem, size);
}
void pxFree(pxdoc_t*, void* mem) {
  std::free(mem);
}
void pxError(pxdoc_t*, int type, const char* msg, void*) {
  if (type != PX_Warning) throw std::runtime_error(std::string("pxlib: ") + msg);
}

int sizeOf(const LegacyColumn& c) {
  switch (c.type) {
    case pxfAlpha:
      return c.length;
    case pxfShort:
      return 2;
    case pxfLogical:
      return 1;
    case pxfBCD:
      return 17;
    case pxfNumber:
    case pxfCurrency:
      return 8;
    default:
      return 4;  // long, auto-increment, date, time
  }
}

}  // namespace

void writeLegacyTable(const std::filesystem::path& file, const std::vector<LegacyColumn>& columns,
                      const std::vector<std::vector<Value>>& records, int codePage) {
  PX_boot();
  pxdoc_t* px = PX_new3(pxError, pxAlloc, pxRealloc, pxFree, nullptr);
  // pxlib takes the field array and its names over and frees them on close.
  auto* fields = static_cast<pxfield_t*>(std::calloc(columns.size(), sizeof(pxfield_t)));
  for (size_t i = 0; i < columns.size(); ++i) {
    fields[i].px_fname = strdup(columns[i].name.c_str());
    fields[i].px_ftype = static_cast<char>(columns[i].type);
    fields[i].px_flen = sizeOf(columns[i]);
    fields[i].px_fdc = columns[i].type == pxfBCD ? 2 : 0;
  }
  if (PX_create_file(px, fields, static_cast<int>(columns.size()), file.c_str(),
                     pxfFileTypNonIndexDB) < 0)
    throw std::runtime_error("cannot create " + file.string());
  px->px_head->px_doscodepage = codePage;
  std::vector<char> rec(static_cast<size_t>(px->px_head->px_recordsize));
  for (const auto& values : records) {
    std::fill(rec.begin(), rec.end(), 0);
    char* p = rec.data();
    for (size_t i = 0; i < columns.size(); ++i) {
      const LegacyColumn& c = columns[i];
      const int len = sizeOf(c);
      const Value& v = values[i];
      if (!isNull(v)) switch (c.type) {
          case pxfAlpha: {
            std::string s = std::get<std::string>(v);
            PX_put_data_alpha(px, p, len, s.data());
            break;
          }
          case pxfNumber:
          case pxfCurrency:
            PX_put_data_double(px, p, len, std::get<double>(v));
            break;
          case pxfShort:
            PX_put_data_short(px, p, len, static_cast<short>(std::get<std::int64_t>(v)));
            break;
          case pxfLogical:
            PX_put_data_byte(px, p, len, static_cast<char>(std::get<std::int64_t>(v)));
            break;
          case pxfBCD: {
            std::string s = std::get<std::string>(v);
            PX_put_data_bcd(px, p, 2, s.data());
            break;
          }
          case pxfDate: {
            // Days since 1 January of the year 1, given as "y-m-d".
            int y = 0, m = 0, d = 0;
            std::sscanf(std::get<std::string>(v).c_str(), "%d-%d-%d", &y, &m, &d);
            PX_put_data_long(px, p, len, static_cast<int>(PX_GregorianToSdn(y, m, d) - 1721425));
            break;
          }
          default:
            PX_put_data_long(px, p, len, static_cast<int>(std::get<std::int64_t>(v)));
            break;
        }
      p += len;
    }
    if (PX_put_record(px, rec.data()) < 0) throw std::runtime_error("cannot write a record");
  }
  PX_close(px);
  PX_delete(px);
}

}  // namespace corvanta::test
