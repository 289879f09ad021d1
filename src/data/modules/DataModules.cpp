#include "data/modules/DataModules.h"

namespace corvanta {

TDataModule2::TDataModule2(const Engine& engine)
    : DataModule(engine, "DataModule2", "InventoryTable1", "DatabaseFiles", "stock.db",
                 "DataSource1", true),
      InventoryTable1(table()),
      DataSource1(dataSource()),
      InventoryTable1PartNumber(table().fieldByName("PartNumber")),
      InventoryTable1Description(table().fieldByName("Description")),
      InventoryTable1Price(table().fieldByName("Price")),
      InventoryTable1Quantity(table().fieldByName("Quantity")),
      InventoryTable1MinimumQuantity(table().fieldByName("MinimumQuantity")),
      InventoryTable1DiscountPrice1(table().fieldByName("DiscountPrice1")),
      InventoryTable1DiscountPrice2(table().fieldByName("DiscountPrice2")),
      InventoryTable1DiscountPrice3(table().fieldByName("DiscountPrice3")),
      InventoryTable1Category(table().fieldByName("Category")) {
  DataModuleCreate();
}

void TDataModule2::DataModuleCreate() {
  InventoryTable1.open();
}

TClientDataModule::TClientDataModule(const Engine& engine)
    : DataModule(engine, "ClientDataModule", "ClientsTable", "DatabaseFiles", "clients.DB",
                 "ClientsDataSource", false),
      ClientsTable(table()),
      ClientsDataSource(dataSource()),
      ClientsTableCustNum(table().fieldByName("CustNum")),
      ClientsTableLastName(table().fieldByName("LastName")),
      ClientsTableFirstName(table().fieldByName("FirstName")),
      ClientsTableStreet(table().fieldByName("Street")),
      ClientsTableCity(table().fieldByName("City")),
      ClientsTableState(table().fieldByName("State")),
      ClientsTableZip(table().fieldByName("Zip")),
      ClientsTableStreet2(table().fieldByName("Street/2")),
      ClientsTableCity2(table().fieldByName("City/2")),
      ClientsTableState2(table().fieldByName("State/2")),
      ClientsTableZip2(table().fieldByName("Zip/2")),
      ClientsTableAreaCode(table().fieldByName("Area Code")),
      ClientsTablePhone(table().fieldByName("Phone")) {}

TSalesDataModule::TSalesDataModule(const Engine& engine)
    : DataModule(engine, "SalesDataModule", "SalesTable", "DatabaseFiles", "NewSales",
                 "SalesDataSource", true),
      SalesTable(table()),
      SalesDataSource(dataSource()),
      SalesTableItem(table().fieldByName("Item")),
      SalesTablePartNumber(table().fieldByName("PartNumber")),
      SalesTableQuantitySold(table().fieldByName("QuantitySold")),
      SalesTablePrice(table().fieldByName("Price")),
      SalesTableCustNum(table().fieldByName("CustNum")),
      SalesTableOrderNumber(table().fieldByName("OrderNumber")),
      SalesTableDate(table().fieldByName("Date")),
      SalesTableTypeOfSale(table().fieldByName("TypeOfSale")),
      SalesTableCreditCardNumber(table().fieldByName("CreditCardNumber")),
      SalesTableCreditCardType(table().fieldByName("CreditCardType")),
      SalesTableTax(table().fieldByName("Tax")),
      SalesTableTotal(table().fieldByName("Total")),
      SalesTablePickUpShip(table().fieldByName("PickUpShip")) {}

TSalesTaxDataModule::TSalesTaxDataModule(const Engine& engine)
    : DataModule(engine, "SalesTaxDataModule", "SalesTaxTable", "DatabaseFiles", "TaxRate",
                 "SalesTaxDataSource", true),
      SalesTaxTable(table()),
      SalesTaxDataSource(dataSource()),
      SalesTaxTableTaxRate(table().fieldByName("TaxRate")) {}

TShippingBillingDataModule::TShippingBillingDataModule(const Engine& engine)
    : DataModule(engine, "ShippingBillingDataModule", "ShippingBillingTable", "DatabaseFilesQVX",
                 "BillingShipping", "ShippingBillingDataSource", true),
      ShippingBillingTable(table()),
      ShippingBillingDataSource(dataSource()),
      ShippingBillingTableOrderNumber(table().fieldByName("OrderNumber")),
      ShippingBillingTableCustNum(table().fieldByName("CustNum")),
      ShippingBillingTableDate(table().fieldByName("Date")),
      ShippingBillingTablePaymentStatus(table().fieldByName("PaymentStatus")),
      ShippingBillingTableDatePaymentRecieved(table().fieldByName("DatePaymentRecieved")),
      ShippingBillingTablePackedBy(table().fieldByName("PackedBy")),
      ShippingBillingTableDateShipped(table().fieldByName("DateShipped")),
      ShippingBillingTableShippedVia(table().fieldByName("ShippedVia")),
      ShippingBillingTableShippingCharge(table().fieldByName("ShippingCharge")),
      ShippingBillingTableGrandTotal(table().fieldByName("GrandTotal")),
      ShippingBillingTableTotalTax(table().fieldByName("TotalTax")),
      ShippingBillingTableCreditCardType(table().fieldByName("Credit Card Type")),
      ShippingBillingTableCreditCardNumber(table().fieldByName("Credit Card Number")) {}

}  // namespace corvanta
