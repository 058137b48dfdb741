// Rows, column inputs and URIs.
#include <gtest/gtest.h>

#include "ContentFramework.h"

namespace {

TEST(ContentValues, GettersCheckIndexNullAndType) {
  CContent row;
  row.AddFieldData(CContentValue::Int(300));
  row.AddFieldData(CContentValue::Int8(-5));
  row.AddNullField();
  row.AddFieldData(CContentValue::String(u"Ann"));
  row.AddFieldData(CContentValue::DateTime(TmDateTime{2024, 2, 29, 23, 59, 58}));
  row.AddFieldData(CContentValue::Int(-128));
  ASSERT_EQ(row.GetFieldCount(), 6);

  int32_t n = 0;
  int8_t n8 = 0;
  std::u16string str;
  TmDateTime dt{};
  // Reads of the right type are in every record load of the service; here the refusals and ranges.
  EXPECT_FALSE(row.GetInt8(0, n8));  // out of 8-bit range
  EXPECT_TRUE(row.GetInt8(5, n8));
  EXPECT_EQ(n8, -128);
  EXPECT_TRUE(row.GetInt(1, n));
  EXPECT_EQ(n, -5);
  EXPECT_TRUE(row.IsNull(2));
  EXPECT_FALSE(row.GetInt(2, n));
  EXPECT_FALSE(row.GetString(0, str));
  EXPECT_FALSE(row.GetDateTime(3, dt));
  EXPECT_FALSE(row.GetInt(-1, n));
  EXPECT_FALSE(row.GetInt(6, n));
  EXPECT_TRUE(row.IsNull(6));
  EXPECT_EQ(row.GetValue(6), nullptr);
}

TEST(ContentValues, InputReplacesAColumnInPlaceAndKeepsFirstSetOrder) {
  CContentInput input;
  input.SetInt("ID", 7);
  input.SetNString("NAME", u"Ann");
  input.SetNString("NOTE", static_cast<const MCHAR*>(nullptr));
  input.SetInt8("TYPE", 2);
  input.SetNString("NAME", u"Bob");
  input.SetNull("ID");
  EXPECT_EQ(input.GetColumnNames(), (std::vector<std::string>{"ID", "NAME", "NOTE", "TYPE"}));
  EXPECT_EQ(input.GetColumnData("NAME")->strValue, u"Bob");
  EXPECT_EQ(input.GetColumnData("ID")->type, ContentValueType::Null);
  EXPECT_EQ(input.GetColumnData("NOTE")->type, ContentValueType::String);
  EXPECT_TRUE(input.GetColumnData("NOTE")->strValue.empty());
  EXPECT_EQ(input.GetColumnData("TYPE")->type, ContentValueType::Int8);
  EXPECT_EQ(input.GetColumnData("name"), nullptr);
  EXPECT_TRUE(input.Remove("NOTE"));
  EXPECT_FALSE(input.Remove("NOTE"));
  EXPECT_FALSE(input.Has("NOTE"));
  EXPECT_EQ(input.GetColumnDataSet().size(), 3u);
}

TEST(ContentValues, UriComponentsAndBulkMarker) {
  const CContentURI uri("CtSvc/Person/BulkOperation");
  EXPECT_EQ(uri.GetURICount(), 3);
  EXPECT_EQ(uri.GetSubURI(0), "CtSvc");
  EXPECT_EQ(uri.GetSubURI(2), "BulkOperation");
  EXPECT_EQ(uri.GetSubURI(3), "");
  EXPECT_EQ(uri.GetSubURI(-1), "");
  EXPECT_EQ(uri.GetURIString(), "CtSvc/Person/BulkOperation");
  EXPECT_TRUE(uri.IsBulkOperation());
  EXPECT_FALSE(CContentURI("CtSvc/BulkOperation").IsBulkOperation());
  EXPECT_FALSE(CContentURI("CtSvc/Person/NoSync").IsBulkOperation());
  EXPECT_FALSE(CContentURI("CtSvc/Person/BulkOperation/NoSync").IsBulkOperation());  // only as the last
  EXPECT_EQ(CContentURI("").GetURICount(), 0);
  EXPECT_EQ(CContentURI("CtSvc").GetURICount(), 1);
  EXPECT_EQ(CContentURI("CtSvc//x/").GetURICount(), 4);  // empty components are kept
}

}  // namespace
