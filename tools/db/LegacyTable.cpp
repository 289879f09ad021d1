#include "LegacyTable.h"

#include <iconv.h>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/numbers/Calendar.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

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

// pxlib reports through a callback; the last error text is kept to go into our message.
void pxError(pxdoc_t*, int type, const char* msg, void* data) {
  if (type == PX_Warning) return;
  auto* last = static_cast<std::string*>(data);
  *last = msg ? msg : "unknown error";
  while (!last->empty() && (last->back() == '\n' || last->back() == '.')) last->pop_back();
}

// Paradox dates count days from 1 January of the year 1.
constexpr long kSdnOfDayZero = 1721425;

std::string twoDigits(long v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02ld", v);
  return buf;
}

std::string timeText(long ms) {
  const long s = ms / 1000;
  return std::to_string(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
}

std::string dateText(long days) {
  int y = 0, m = 0, d = 0;
  PX_SdnToGregorian(days + kSdnOfDayZero, &y, &m, &d);
  return formatDate(y, m, d, Calendar::kDefaultShortDateFormat);
}

}  // namespace

struct LegacyTable::Doc {
  pxdoc_t* px = nullptr;
  FILE* fp = nullptr;
  std::string lastError;
  ~Doc() {
    if (px) {
      PX_close(px);
      PX_delete(px);
    }
    if (fp) std::fclose(fp);
  }
};

std::string legacyTextToUtf8(std::string_view bytes, int codePage) {
  std::string out;
  bool ascii = true;
  for (unsigned char c : bytes) ascii = ascii && c < 0x80;
  if (ascii) return std::string(bytes);
  const std::string from = "CP" + std::to_string(codePage ? codePage : 1252);
  iconv_t cd = iconv_open("UTF-8", from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "CP1252");
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buf[256];
  while (inLeft > 0) {
    char* o = buf;
    size_t oLeft = sizeof buf;
    const size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<size_t>(o - buf));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out += "\xEF\xBF\xBD";  // a byte the code page leaves undefined
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}

LegacyTable::LegacyTable(const std::filesystem::path& file) : path_(file), doc_(new Doc) {
  static const bool booted = (PX_boot(), true);
  (void)booted;
  const auto fail = [&](const std::string& what) {
    throw Error("The legacy table file '" + path_.string() + "' " + what +
                (doc_->lastError.empty() ? "" : ": " + doc_->lastError));
  };
  // Opened "rb" ourselves: pxlib is never given a handle it could write through.
  doc_->fp = std::fopen(file.c_str(), "rb");
  if (!doc_->fp)
    throw Error("Cannot read the legacy table file '" + file.string() +
                "': " + std::strerror(errno));
  doc_->px = PX_new3(pxError, pxAlloc, pxRealloc, pxFree, &doc_->lastError);
  if (!doc_->px) fail("cannot be read");
  if (PX_open_fp(doc_->px, doc_->fp) < 0) fail("is damaged or not a table file");
  pxhead_t* head = doc_->px->px_head;
  if (!head || head->px_numfields <= 0 || head->px_recordsize <= 0)
    fail("is damaged or not a table file");
  const int n = PX_get_num_fields(doc_->px);
  pxfield_t* f = PX_get_fields(doc_->px);
  int offset = 0;
  for (int i = 0; i < n; ++i) {
    LegacyField lf{f[i].px_fname ? legacyTextToUtf8(f[i].px_fname, head->px_doscodepage) : "",
                   f[i].px_ftype, f[i].px_flen, f[i].px_fdc, true};
    switch (lf.type) {
      case pxfMemoBLOb:
      case pxfBLOb:
      case pxfFmtMemoBLOb:
      case pxfOLE:
      case pxfGraphic:
        lf.readable = false;
        break;
      default:
        break;
    }
    fields_.push_back(lf);
    offsets_.push_back(offset);
    offset += lf.length;
  }
  if (offset != head->px_recordsize) fail("is damaged (its fields do not fill its records)");
  // A file cut short still opens; its header says how long it must be.
  const std::uintmax_t promised = static_cast<std::uintmax_t>(head->px_headersize) +
                                  static_cast<std::uintmax_t>(head->px_fileblocks) *
                                      static_cast<std::uintmax_t>(head->px_maxtablesize) * 1024;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size < promised)
    fail("is damaged: it is cut short (" + std::to_string(size) + " bytes of " +
         std::to_string(promised) + ")");
  const std::int64_t perBlock =
      (static_cast<std::int64_t>(head->px_maxtablesize) * 1024 - 6) / head->px_recordsize;
  if (head->px_numrecords < 0 ||
      head->px_numrecords > perBlock * static_cast<std::int64_t>(head->px_fileblocks))
    fail("is damaged: its header counts more records than its blocks hold");
  buffer_.resize(static_cast<size_t>(head->px_recordsize));
  codePage_ = head->px_doscodepage;
  records_ = PX_get_num_records(doc_->px);
  if (records_ < 0) fail("is damaged");
}

LegacyTable::~LegacyTable() = default;

std::vector<LegacyValue> LegacyTable::record(std::int64_t recno) {
  doc_->lastError.clear();
  if (PX_get_record(doc_->px, static_cast<int>(recno), buffer_.data()) == nullptr)
    throw Error("The legacy table file '" + path_.string() + "' is damaged: record " +
                std::to_string(recno + 1) + " cannot be read" +
                (doc_->lastError.empty() ? "" : " (" + doc_->lastError + ")"));
  std::vector<LegacyValue> out;
  out.reserve(fields_.size());
  for (size_t i = 0; i < fields_.size(); ++i) {
    const LegacyField& f = fields_[i];
    char* data = buffer_.data() + offsets_[i];
    pxdoc_t* px = doc_->px;
    LegacyValue v;
    // An empty value is stored as a field of zero bytes, whatever its type.
    if (std::all_of(data, data + f.length, [](char c) { return c == 0; })) {
      out.push_back(std::move(v));
      continue;
    }
    switch (f.type) {
      case pxfAlpha: {
        char* s = nullptr;
        if (PX_get_data_alpha(px, data, f.length, &s) > 0 && s) v = legacyTextToUtf8(s, codePage_);
        std::free(s);
        break;
      }
      case pxfNumber:
      case pxfCurrency: {
        double d = 0;
        if (PX_get_data_double(px, data, f.length, &d) > 0) v = d;
        break;
      }
      case pxfShort: {
        short s = 0;
        if (PX_get_data_short(px, data, f.length, &s) > 0) v = static_cast<std::int64_t>(s);
        break;
      }
      case pxfLong:
      case pxfAutoInc: {
        long l = 0;
        if (PX_get_data_long(px, data, f.length, &l) > 0) v = static_cast<std::int64_t>(l);
        break;
      }
      case pxfLogical: {
        char c = 0;
        if (PX_get_data_byte(px, data, f.length, &c) > 0) v = static_cast<std::int64_t>(c != 0);
        break;
      }
      case pxfDate: {
        long l = 0;
        if (PX_get_data_long(px, data, f.length, &l) > 0) v = dateText(l);
        break;
      }
      case pxfTime: {
        long l = 0;
        if (PX_get_data_long(px, data, f.length, &l) > 0) v = timeText(l);
        break;
      }
      case pxfTimestamp: {
        double d = 0;
        if (PX_get_data_double(px, data, f.length, &d) > 0) {
          const long ms = static_cast<long>(d);
          v = dateText(ms / 86400000) + " " + timeText(ms % 86400000);
        }
        break;
      }
      case pxfBCD: {
        char* s = nullptr;
        double d = 0;
        if (PX_get_data_bcd(px, reinterpret_cast<unsigned char*>(data), f.decimals, &s) > 0 && s &&
            parseFloatStrict(s, d))
          v = d;
        std::free(s);
        break;
      }
      default:
        break;  // memos, blobs, graphics, bytes: not values our tables hold
    }
    out.push_back(std::move(v));
  }
  return out;
}

}  // namespace corvanta
