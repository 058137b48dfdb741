// Every record class carries each of its fields unchanged: C structure -> record -> C structure,
// and C structure -> record -> input -> store -> row -> record -> C structure.
#include <gtest/gtest.h>

#include <cstring>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"
#include "RecordTestSupport.h"

namespace {

using ctsvc_record_test::ExpectSameMembers;
using ctsvc_record_test::FillStruct;

template <class R>
class RecordRoundTripTest : public ctsvc_record_test::RecordStoreTest {
 protected:
  using Traits = typename R::Traits;
  using Record = typename Traits::Record;

  // A record structure whose every known member has its own value.
  static Record FilledRecord() {
    Record record;
    std::memset(&record, 0, sizeof(record));
    FillStruct(Traits::kFields, &record.Info, &record);
    record.nId = -1;
    return record;
  }
};

using RoundTripClasses =
    ::testing::Types<CCtSvcPerson, CCtSvcPrimary, CCtSvcPhoneNumber, CCtSvcEmailAddress, CCtSvcPostalAddress, CCtSvcEtcData,
                     CCtSvcFdn, CCtSvcGroup, CCtSvcGroupMember, CCtSvcSpeedDial, CCtSvcIM, CCtSvcSnsData, CCtSvcRcs>;
TYPED_TEST_SUITE(RecordRoundTripTest, RoundTripClasses);

TYPED_TEST(RecordRoundTripTest, FieldsSurviveTheRecordObjectAndTheStore) {
  using Traits = typename TestFixture::Traits;
  using Record = typename TestFixture::Record;
  Record source = TestFixture::FilledRecord();
  source.nId = 77;

  const TypeParam fromInfo(source.Info);
  EXPECT_EQ(-1, fromInfo.GetRecordId());
  typename Traits::Info info;
  std::memset(&info, 0, sizeof(info));
  ASSERT_EQ(1, fromInfo.GetData(info));
  ExpectSameMembers(Traits::kFields, &source.Info, &info, CtSvcStructPlace::Info, false);
  const TypeParam fromRecord(source);
  Record record;
  std::memset(&record, 0, sizeof(record));
  ASSERT_EQ(1, fromRecord.GetData(record));
  EXPECT_EQ(77, record.nId);
  ExpectSameMembers(Traits::kFields, &source, &record, CtSvcStructPlace::Record, false);
  ExpectSameMembers(Traits::kFields, &source.Info, &record.Info, CtSvcStructPlace::Info, false);

  // Through the store (texts carry an apostrophe and a percent sign).
  source.nId = -1;
  TypeParam written(source);
  const int nId = written.Insert(1);
  ASSERT_GT(nId, 0);
  CContent row;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent(Traits::kUri, nId, row));
  TypeParam read;
  ASSERT_EQ(1, read.SetData(row));
  std::memset(&record, 0, sizeof(record));
  ASSERT_EQ(1, read.GetData(record));
  EXPECT_EQ(nId, record.nId);
  ExpectSameMembers(Traits::kFields, &source, &record, CtSvcStructPlace::Record, true);
  ExpectSameMembers(Traits::kFields, &source.Info, &record.Info, CtSvcStructPlace::Info, true);
}

// The primary's reserved integer travels with the record but is never stored; its device type
// is read from an info and never written back to one.
using PrimaryRoundTripTest = RecordRoundTripTest<CCtSvcPrimary>;

TEST_F(PrimaryRoundTripTest, ReservedIsCarriedNotStored) {
  CtSvcPrimaryRecord source = FilledRecord();
  source.Info.nReserved = 4242;
  source.Info.DevType = CTSVC_USE_TYPE_SIM;
  CCtSvcPrimary primary(source);
  EXPECT_EQ(4242, primary.GetReserved());
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, primary.GetDeviceType());

  CtSvcPrimaryInfo info;
  std::memset(&info, 0, sizeof(info));
  info.DevType = 99;
  primary.GetData(info);
  EXPECT_EQ(4242, info.nReserved);
  EXPECT_EQ(99, info.DevType);
  const int nId = primary.Insert(1);
  CContent row;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Primary", nId, row));
  CCtSvcPrimary read;
  ASSERT_EQ(1, read.SetData(row));
  EXPECT_EQ(0, read.GetReserved());
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, read.GetDeviceType());
  read.SetReserved(4242);
  EXPECT_TRUE(read == primary);
  read.SetFavoriteOrder(read.GetFavoriteOrder() + 1);
  EXPECT_TRUE(read != primary);
}

}  // namespace
