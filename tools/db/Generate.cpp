#include "Generate.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

#include "data/engine/TableFile.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array kCategories = {"Hardware", "Plumbing", "Electrical", "Garden",   "Paint",
                                    "Tools",    "Lumber",   "Fasteners",  "Lighting", "Seasonal"};
constexpr std::array kPrefixes = {"HW", "PL", "EL", "GD", "PT", "TL", "LB", "FS", "LT", "SN"};
constexpr std::array kAdjectives = {"Heavy",    "Light", "Small",   "Large",   "Round",
                                    "Square",   "Long",  "Short",   "Flat",    "Deluxe",
                                    "Basic",    "Pro",   "Compact", "Outdoor", "Indoor",
                                    "Flexible", "Rigid", "Coated",  "Sealed",  "Standard"};
constexpr std::array kMaterials = {"Steel",   "Brass",    "Copper", "Plastic", "Oak",
                                   "Pine",    "Aluminum", "Rubber", "Nylon",   "Glass",
                                   "Ceramic", "Vinyl",    "Cedar",  "Iron",    "Zinc"};
constexpr std::array kNouns = {
    "Bracket", "Hinge",  "Valve",  "Pipe",   "Fitting",   "Switch",    "Outlet",  "Bulb",
    "Rake",    "Hose",   "Brush",  "Roller", "Hammer",    "Wrench",    "Saw",     "Board",
    "Screw",   "Bolt",   "Nut",    "Washer", "Anchor",    "Lamp",      "Fixture", "Planter",
    "Shovel",  "Ladder", "Bucket", "Clamp",  "Drill Bit", "Chisel",    "Level",   "Tape",
    "Cord",    "Timer",  "Faucet", "Trap",   "Coupling",  "Sprinkler", "Wreath",  "Lantern"};
constexpr std::array kLastNames = {
    "Smith",     "Johnson",  "Williams",   "Brown",    "Jones",    "Miller",     "Davis",
    "Garcia",    "Wilson",   "Anderson",   "Taylor",   "Thomas",   "Moore",      "Martin",
    "Jackson",   "Thompson", "White",      "Lopez",    "Lee",      "Harris",     "Clark",
    "Lewis",     "Robinson", "Walker",     "Young",    "Allen",    "King",       "Wright",
    "Scott",     "Hill",     "Green",      "Adams",    "Baker",    "Nelson",     "Carter",
    "Mitchell",  "Roberts",  "Turner",     "Phillips", "Campbell", "Parker",     "Evans",
    "Edwards",   "Collins",  "Stewart",    "Morris",   "Rogers",   "Reed",       "Cook",
    "Morgan",    "Bell",     "Murphy",     "Bailey",   "Cooper",   "Richardson", "Cox",
    "Howard",    "Ward",     "Peterson",   "Gray",     "James",    "Watson",     "Brooks",
    "Kelly",     "Sanders",  "Price",      "Bennett",  "Wood",     "Barnes",     "Ross",
    "Henderson", "Coleman",  "Jenkins",    "Perry",    "Powell",   "Long",       "Patterson",
    "Hughes",    "Flores",   "Washington", "Butler",   "Simmons",  "Foster",     "Bryant",
    "Alexander", "Russell",  "Griffin",    "Hayes",    "Myers",    "Ford",       "Hamilton",
    "Graham",    "Sullivan", "Wallace",    "Woods",    "Cole",     "West",       "Jordan",
    "Owens",     "Reynolds"};
constexpr std::array kFirstNames = {
    "James",   "Mary",      "John",    "Patricia", "Robert",  "Jennifer", "Michael", "Linda",
    "William", "Elizabeth", "David",   "Barbara",  "Richard", "Susan",    "Joseph",  "Jessica",
    "Thomas",  "Sarah",     "Charles", "Karen",    "Daniel",  "Nancy",    "Matthew", "Lisa",
    "Anthony", "Betty",     "Mark",    "Margaret", "Donald",  "Sandra",   "Steven",  "Ashley",
    "Paul",    "Dorothy",   "Andrew",  "Kimberly", "Joshua",  "Emily",    "Kenneth", "Donna"};
constexpr std::array kStreets = {"Main",   "Oak",        "Pine",     "Maple",  "Cedar",
                                 "Elm",    "Washington", "Lake",     "Hill",   "Park",
                                 "Walnut", "Sunset",     "Ridge",    "River",  "Church",
                                 "Mill",   "Spring",     "Highland", "Forest", "Meadow"};
constexpr std::array kStreetKinds = {"St", "Ave", "Rd", "Dr", "Ln", "Blvd", "Ct", "Way"};
struct Town {
  const char* city;
  const char* state;
  int zip;
  int areaCode;
};
constexpr std::array kTowns = {
    Town{"Springfield", "IL", 62701, 217}, Town{"Madison", "WI", 53703, 608},
    Town{"Columbus", "OH", 43215, 614},    Town{"Franklin", "TN", 37064, 615},
    Town{"Greenville", "SC", 29601, 864},  Town{"Salem", "OR", 97301, 503},
    Town{"Fairview", "PA", 16415, 814},    Town{"Bristol", "CT", 6010, 860},
    Town{"Clinton", "IA", 52732, 563},     Town{"Georgetown", "KY", 40324, 502},
    Town{"Arlington", "VA", 22201, 703},   Town{"Riverside", "CA", 92501, 951}};
constexpr std::array kCardTypes = {"Visa", "MasterCard", "American Express", "Discover"};
constexpr std::array kCarriers = {"UPS Ground", "UPS Next Day Air", "FedEx Ground",
                                  "USPS Priority Mail", "Local delivery"};
constexpr std::array kPackers = {"Dave", "Maria", "Tom", "Kim", "Luis", "Pat"};

class Random {
 public:
  explicit Random(std::uint32_t seed) : rng_(seed) {}
  std::int64_t between(std::int64_t lo, std::int64_t hi) {  // inclusive
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
  }
  double uniform() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
  bool chance(double p) { return uniform() < p; }
  template <class A>
  const char* pick(const A& a) {
    return a[static_cast<size_t>(between(0, static_cast<std::int64_t>(a.size()) - 1))];
  }
  double logNormal(double mean, double sigma) {
    return std::lognormal_distribution<double>(mean, sigma)(rng_);
  }
  int poisson(double mean) { return std::poisson_distribution<int>(mean)(rng_); }

 private:
  std::mt19937_64 rng_;
};

double cents(double v) {
  return std::round(v * 100.0) / 100.0;
}

std::string digits(Random& r, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.between(0, 9));
  return s;
}

// Short date text ("M/d/yy") of a day counted from 1 January 1994.
std::string dateText(int dayIndex) {
  using namespace std::chrono;
  const year_month_day d{sys_days{year{1994} / January / 1} + days{dayIndex}};
  return formatDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                    static_cast<int>(static_cast<unsigned>(d.day())), "M/d/yy");
}

// A table file loaded in one transaction; the rows are the caller's business.
class Loader {
 public:
  Loader(const Engine& engine, const TableDef& def,
         const std::function<void(const std::string&)>& progress)
      : def_(def),
        file_(def, engine.tableFile(def.alias, def)),
        progress_(progress),
        start_(Clock::now()) {
    if (!file_.empty())
      throw Error("Table '" + def.tableName + "' (" + file_.path().string() +
                  ") already holds records; generate fills empty tables only");
    file_.beginBulk();
    row_.resize(def.fields.size());
  }
  ~Loader() {
    if (file_.inBulk()) file_.rollbackBulk();
  }
  Value& operator[](const char* field) { return row_[static_cast<size_t>(def_.fieldIndex(field))]; }
  void write() {
    file_.insert(row_);
    std::fill(row_.begin(), row_.end(), Value{});
    ++rows_;
  }
  void commit() {
    file_.commitBulk();
    if (progress_) {
      const double s = std::chrono::duration<double>(Clock::now() - start_).count();
      char secs[32];
      std::snprintf(secs, sizeof secs, "%.2f", s);
      progress_(def_.tableName + ": " + std::to_string(rows_) + " records in " + secs + " s");
    }
  }

 private:
  const TableDef& def_;
  TableFile file_;
  std::function<void(const std::string&)> progress_;
  Clock::time_point start_;
  std::vector<Value> row_;
  std::int64_t rows_ = 0;
};

struct StockItem {
  std::string part;
  double prices[4];
};

struct Order {
  std::int32_t custNum = 1;
  std::int32_t day = 0;
  std::uint8_t payment = 0;  // 0 cash, 1 credit card, 2 invoice
  std::uint8_t card = 0;
  bool ship = false;
  std::string cardNumber;
  Extended total = 0, tax = 0;  // running totals as the sales window keeps them
};

const TableDef& table(const char* name) {
  return *findTableDef(name);
}

std::vector<StockItem> makeStock(const Engine& engine, const GenerateOptions& o, Random& r,
                                 const std::function<void(const std::string&)>& progress) {
  std::vector<StockItem> items;
  items.reserve(static_cast<size_t>(o.stock));
  std::optional<Loader> load;
  if (o.stock > 0) load.emplace(engine, table("stock.db"), progress);
  for (std::int64_t i = 0; i < o.stock; ++i) {
    const size_t cat = static_cast<size_t>(r.between(0, kCategories.size() - 1));
    StockItem item;
    char part[32];
    std::snprintf(part, sizeof part, "%s-%06lld", kPrefixes[cat],
                  static_cast<long long>(10000 + i));
    item.part = part;
    const double price = cents(std::min(2500.0, 0.25 + r.logNormal(2.3, 1.1)));
    item.prices[0] = price;
    item.prices[1] = cents(price * 0.95);
    item.prices[2] = cents(price * 0.90);
    item.prices[3] = cents(price * 0.85);
    auto& l = *load;
    l["PartNumber"] = item.part;
    l["Description"] =
        std::string(r.pick(kAdjectives)) + " " + r.pick(kMaterials) + " " + r.pick(kNouns);
    l["Price"] = item.prices[0];
    l["Quantity"] = static_cast<double>(r.between(0, 400));
    l["MinimumQuantity"] = static_cast<double>(r.between(1, 10) * 5);
    l["DiscountPrice1"] = item.prices[1];
    l["DiscountPrice2"] = item.prices[2];
    l["DiscountPrice3"] = item.prices[3];
    l["Category"] = std::string(kCategories[cat]);
    l.write();
    items.push_back(std::move(item));
  }
  if (load) load->commit();
  return items;
}

void makeClients(const Engine& engine, const GenerateOptions& o, Random& r,
                 const std::function<void(const std::string&)>& progress) {
  if (o.clients <= 0) return;
  Loader l(engine, table("clients.DB"), progress);
  for (std::int64_t i = 0; i < o.clients; ++i) {
    const Town& town = kTowns[static_cast<size_t>(r.between(0, kTowns.size() - 1))];
    if (i == 0) {
      l["LastName"] = std::string("Walk-in");
      l["FirstName"] = std::string("Customer");
    } else {
      l["LastName"] = std::string(r.pick(kLastNames));
      l["FirstName"] = std::string(r.pick(kFirstNames));
    }
    const std::string street =
        std::to_string(r.between(1, 9999)) + " " + r.pick(kStreets) + " " + r.pick(kStreetKinds);
    l["Street"] = street;
    l["City"] = std::string(town.city);
    l["State"] = std::string(town.state);
    char zip[8];
    std::snprintf(zip, sizeof zip, "%05d", town.zip + static_cast<int>(r.between(0, 40)));
    l["Zip"] = std::string(zip);
    if (r.chance(0.2)) {  // a separate billing address
      const Town& billTown = kTowns[static_cast<size_t>(r.between(0, kTowns.size() - 1))];
      l["Street/2"] = "P.O. Box " + std::to_string(r.between(100, 9999));
      l["City/2"] = std::string(billTown.city);
      l["State/2"] = std::string(billTown.state);
      std::snprintf(zip, sizeof zip, "%05d", billTown.zip);
      l["Zip/2"] = std::string(zip);
    }
    l["Area Code"] = std::to_string(town.areaCode);
    l["Phone"] = std::to_string(r.between(200, 999)) + "-" + digits(r, 4);
    l.write();
  }
  l.commit();
}

// Lines per order: every order gets at least one line when there are enough, the rest spread
// at random, so that the sizes add up to `lines` exactly.
std::vector<int> orderSizes(std::int64_t orders, std::int64_t lines, Random& r) {
  std::vector<int> sizes(static_cast<size_t>(orders), 0);
  if (orders == 0) return sizes;
  const int floor = lines >= orders ? 1 : 0;
  const double mean = static_cast<double>(lines - floor * orders) / static_cast<double>(orders);
  std::int64_t sum = 0;
  for (auto& s : sizes) {
    s = floor + (mean > 0 ? r.poisson(mean) : 0);
    sum += s;
  }
  while (sum > lines) {
    auto& s = sizes[static_cast<size_t>(r.between(0, orders - 1))];
    if (s > floor) --s, --sum;
  }
  while (sum < lines) ++sizes[static_cast<size_t>(r.between(0, orders - 1))], ++sum;
  return sizes;
}

}  // namespace

void generateTables(const Engine& engine, const GenerateOptions& o,
                    const std::function<void(const std::string&)>& progress) {
  engine.createMissingTables();
  Random r(o.seed);
  const std::vector<StockItem> stock = makeStock(engine, o, r, progress);
  makeClients(engine, o, r, progress);
  {
    TableFile rate(table("TaxRate"), engine.tableFile("DatabaseFiles", table("TaxRate")));
    if (rate.empty()) rate.insert({8.25});
  }

  // Orders: who bought, when, how they paid and whether it is shipped.
  const std::int64_t orderCount = o.billing > 0 ? o.billing : (o.sales + 3) / 4;
  const std::vector<int> sizes = orderSizes(orderCount, o.sales, r);
  std::vector<Order> orders(static_cast<size_t>(orderCount));
  constexpr int kSpanDays = 5 * 365;
  const std::int64_t clients = std::max<std::int64_t>(1, o.clients);
  for (std::int64_t i = 0; i < orderCount; ++i) {
    Order& ord = orders[static_cast<size_t>(i)];
    const bool walkIn = clients == 1 || r.chance(o.walkInPercent / 100.0);
    ord.custNum = walkIn ? 1 : static_cast<std::int32_t>(r.between(2, clients));
    ord.day = static_cast<std::int32_t>(i * kSpanDays / orderCount);
    const double p = r.uniform();
    ord.payment = walkIn ? (p < 0.7 ? 0 : 1) : (p < 0.4 ? 0 : p < 0.75 ? 1 : 2);
    ord.ship = !walkIn && r.chance(0.35);
    if (ord.payment == 1) {
      ord.card = static_cast<std::uint8_t>(r.between(0, kCardTypes.size() - 1));
      ord.cardNumber = digits(r, 16);
    }
  }

  // Sales lines, order by order, as the sales window posts them.
  const ShortReal taxRate = 8.25L;
  const Extended taxFactor = taxRate * 0.01L;
  auto stored = [](Extended v) {  // a computed value travels to its field as text
    double d = 0;
    parseFloatStrict(writeNumber(v), d);
    return d;
  };
  static constexpr const char* kPayment[] = {"cash", "credit card", "invoice"};
  if (o.sales > 0) {
    Loader l(engine, table("NewSales"), progress);
    for (std::int64_t i = 0; i < orderCount; ++i) {
      Order& ord = orders[static_cast<size_t>(i)];
      const std::string date = dateText(ord.day);
      for (int line = 0; line < sizes[static_cast<size_t>(i)]; ++line) {
        // Popular items sell more often.
        const double u = r.uniform();
        const StockItem* item =
            stock.empty() ? nullptr
                          : &stock[static_cast<size_t>(u * u * static_cast<double>(stock.size()))];
        const int level = r.chance(0.7) ? 0 : static_cast<int>(r.between(1, 3));
        const double price = item ? item->prices[level] : 9.99;
        const Extended quantity = 1 + r.poisson(0.8);
        const ShortReal total = static_cast<Extended>(price) * quantity;
        const ShortReal tax = total * taxFactor;
        ord.total = ShortReal(ShortReal(ord.total + total) + tax);
        ord.tax = ShortReal(ord.tax + tax);
        l["PartNumber"] = item ? item->part : std::string("MISC");
        l["QuantitySold"] = static_cast<double>(quantity);
        l["Price"] = price;
        l["CustNum"] = static_cast<double>(ord.custNum);
        l["OrderNumber"] = static_cast<double>(1001 + i);
        l["Date"] = date;
        l["TypeOfSale"] = std::string(kPayment[ord.payment]);
        if (ord.payment == 1) {
          l["CreditCardNumber"] = ord.cardNumber;
          l["CreditCardType"] = std::string(kCardTypes[ord.card]);
        }
        l["Tax"] = stored(tax);
        l["Total"] = stored(total);
        l["PickUpShip"] = std::string(ord.ship ? "Ship" : "PickUp");
        l.write();
      }
    }
    l.commit();
  }

  // One billing and shipping record per order.
  if (o.billing > 0) {
    Loader l(engine, table("BillingShipping"), progress);
    for (std::int64_t i = 0; i < orderCount; ++i) {
      const Order& ord = orders[static_cast<size_t>(i)];
      l["OrderNumber"] = static_cast<double>(1001 + i);
      l["CustNum"] = static_cast<double>(ord.custNum);
      l["Date"] = dateText(ord.day);
      const bool recent = ord.day > kSpanDays - 45;
      if (ord.payment != 2 || !recent || r.chance(0.3)) {
        l["PaymentStatus"] = std::string("recieved");
        l["DatePaymentRecieved"] =
            dateText(ord.day + (ord.payment == 2 ? static_cast<int>(r.between(5, 40)) : 0));
      }
      Extended shipping = 0;
      if (ord.ship && (!recent || r.chance(0.5))) {
        l["PackedBy"] = std::string(r.pick(kPackers));
        l["DateShipped"] = dateText(ord.day + static_cast<int>(r.between(0, 3)));
        l["ShippedVia"] = std::string(r.pick(kCarriers));
        shipping = cents(4.5 + r.logNormal(1.8, 0.6));
      }
      l["ShippingCharge"] = static_cast<double>(shipping);
      l["GrandTotal"] = stored(ShortReal(ord.total + shipping));
      l["TotalTax"] = stored(ord.tax);
      if (ord.payment == 1) {
        l["Credit Card Type"] = std::string(kCardTypes[ord.card]);
        l["Credit Card Number"] = ord.cardNumber;
      }
      l.write();
    }
    l.commit();
  }
}

}  // namespace corvanta
