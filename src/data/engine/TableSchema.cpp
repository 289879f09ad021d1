#include "data/engine/TableSchema.h"

#include <cctype>

namespace corvanta {

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

int TableDef::fieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name) return static_cast<int>(i);
  return -1;
}

const IndexDef* TableDef::findIndex(std::string_view name) const {
  for (const auto& ix : indexes)
    if (equalsNoCase(ix.name, name)) return &ix;
  return nullptr;
}

namespace {

FieldDef text(std::string name, int size, int width = 0) {
  return {std::move(name), FieldType::Text, size, "", width, false};
}
FieldDef money(std::string name) {
  return {std::move(name), FieldType::Float, 0, "0.00", 0, false};
}
FieldDef number(std::string name) {
  return {std::move(name), FieldType::Float, 0, "", 0, false};
}

std::vector<TableDef> makeTables() {
  std::vector<TableDef> t;
  t.push_back({"stock.db",
               "DatabaseFiles",
               "stock.db",
               "stock",
               {text("PartNumber", 50), text("Description", 50), money("Price"), number("Quantity"),
                number("MinimumQuantity"), money("DiscountPrice1"), money("DiscountPrice2"),
                money("DiscountPrice3"), text("Category", 25)},
               {{"", "PartNumber", true, false}, {"byDescription", "Description", false, true}}});
  t.push_back({"clients.DB",
               "DatabaseFiles",
               "clients.DB",
               "clients",
               {{"CustNum", FieldType::AutoInc, 0, "", 10, true},
                text("LastName", 30, 24),
                text("FirstName", 30, 24),
                text("Street", 40, 40),
                text("City", 30, 30),
                text("State", 10, 8),
                text("Zip", 10, 15),
                text("Street/2", 40),
                text("City/2", 30),
                text("State/2", 10),
                text("Zip/2", 10),
                text("Area Code", 3, 9),
                text("Phone", 8, 21)},
               {{"", "CustNum", true, false}, {"byLastName", "LastName", false, true}}});
  t.push_back({"NewSales",
               "DatabaseFiles",
               "NewSales.DB",
               "NewSales",
               {{"Item", FieldType::AutoInc, 0, "", 0, true},
                text("PartNumber", 50),
                number("QuantitySold"),
                money("Price"),
                number("CustNum"),
                number("OrderNumber"),
                text("Date", 10),
                text("TypeOfSale", 11),
                text("CreditCardNumber", 20),
                text("CreditCardType", 25),
                money("Tax"),
                money("Total"),
                text("PickUpShip", 8)},
               {{"", "Item", true, false},
                {"ByOrderNumber", "OrderNumber", false, false},
                {"byCustNum", "CustNum", false, false}}});
  t.push_back({"TaxRate",
               "DatabaseFiles",
               "TaxRate.DB",
               "TaxRate",
               {money("TaxRate")},
               {{"", "", true, false}}});
  t.push_back(
      {"BillingShipping",
       "DatabaseFilesQVX",
       "BillingShipping.DB",
       "BillingShipping",
       {number("OrderNumber"), number("CustNum"), text("Date", 10), text("PaymentStatus", 10),
        text("DatePaymentRecieved", 10), text("PackedBy", 15), text("DateShipped", 10),
        text("ShippedVia", 30), money("ShippingCharge"), money("GrandTotal"), money("TotalTax"),
        text("Credit Card Type", 25), text("Credit Card Number", 20)},
       {{"", "OrderNumber", true, false}, {"byCustomerNumber", "CustNum", false, false}}});
  t.front().fields[t.front().fieldIndex("Quantity")].accumulates = true;
  return t;
}

}  // namespace

const std::vector<TableDef>& shopTables() {
  static const std::vector<TableDef> tables = makeTables();
  return tables;
}

const TableDef* findTableDef(std::string_view tableName) {
  std::string_view base = tableName;
  if (base.size() > 3 && equalsNoCase(base.substr(base.size() - 3), ".db"))
    base = base.substr(0, base.size() - 3);
  for (const auto& t : shopTables())
    if (equalsNoCase(t.sqlName, base)) return &t;
  return nullptr;
}

std::vector<const TableDef*> tablesOfAlias(std::string_view alias) {
  std::vector<const TableDef*> out;
  for (const auto& t : shopTables())
    if (equalsNoCase(t.alias, alias)) out.push_back(&t);
  return out;
}

}  // namespace corvanta
