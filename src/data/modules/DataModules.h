#pragma once
// The five data modules of the shop, each owning one shared table, its field objects and its
// data source.  Members carry the names the windows use (`SalesTableQuantitySold`).
#include "data/DataModule.h"

namespace corvanta {

class TDataModule2 : public DataModule {
 public:
  explicit TDataModule2(const Engine& engine);
  Table& InventoryTable1;
  DataSource& DataSource1;
  Field& InventoryTable1PartNumber;
  Field& InventoryTable1Description;
  Field& InventoryTable1Price;
  Field& InventoryTable1Quantity;
  Field& InventoryTable1MinimumQuantity;
  Field& InventoryTable1DiscountPrice1;
  Field& InventoryTable1DiscountPrice2;
  Field& InventoryTable1DiscountPrice3;
  Field& InventoryTable1Category;
  // Opens the stock table (again: opening an open table does nothing).
  void DataModuleCreate();
};

class TClientDataModule : public DataModule {
 public:
  explicit TClientDataModule(const Engine& engine);
  Table& ClientsTable;
  DataSource& ClientsDataSource;
  Field& ClientsTableCustNum;
  Field& ClientsTableLastName;
  Field& ClientsTableFirstName;
  Field& ClientsTableStreet;
  Field& ClientsTableCity;
  Field& ClientsTableState;
  Field& ClientsTableZip;
  Field& ClientsTableStreet2;
  Field& ClientsTableCity2;
  Field& ClientsTableState2;
  Field& ClientsTableZip2;
  Field& ClientsTableAreaCode;
  Field& ClientsTablePhone;
};

class TSalesDataModule : public DataModule {
 public:
  explicit TSalesDataModule(const Engine& engine);
  Table& SalesTable;
  DataSource& SalesDataSource;
  Field& SalesTableItem;
  Field& SalesTablePartNumber;
  Field& SalesTableQuantitySold;
  Field& SalesTablePrice;
  Field& SalesTableCustNum;
  Field& SalesTableOrderNumber;
  Field& SalesTableDate;
  Field& SalesTableTypeOfSale;
  Field& SalesTableCreditCardNumber;
  Field& SalesTableCreditCardType;
  Field& SalesTableTax;
  Field& SalesTableTotal;
  Field& SalesTablePickUpShip;
};

class TSalesTaxDataModule : public DataModule {
 public:
  explicit TSalesTaxDataModule(const Engine& engine);
  Table& SalesTaxTable;
  DataSource& SalesTaxDataSource;
  Field& SalesTaxTableTaxRate;
};

class TShippingBillingDataModule : public DataModule {
 public:
  explicit TShippingBillingDataModule(const Engine& engine);
  Table& ShippingBillingTable;
  DataSource& ShippingBillingDataSource;
  Field& ShippingBillingTableOrderNumber;
  Field& ShippingBillingTableCustNum;
  Field& ShippingBillingTableDate;
  Field& ShippingBillingTablePaymentStatus;
  Field& ShippingBillingTableDatePaymentRecieved;
  Field& ShippingBillingTablePackedBy;
  Field& ShippingBillingTableDateShipped;
  Field& ShippingBillingTableShippedVia;
  Field& ShippingBillingTableShippingCharge;
  Field& ShippingBillingTableGrandTotal;
  Field& ShippingBillingTableTotalTax;
  Field& ShippingBillingTableCreditCardType;
  Field& ShippingBillingTableCreditCardNumber;
};

}  // namespace corvanta
