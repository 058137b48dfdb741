#include <gtest/gtest.h>

#include <vector>

#include "../ZelCore/CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelTapi.h"
#include "ZelTapiTest.h"
#include "ZelWm.h"

namespace {

TEST(TapiImsi, NoneUntilSetAndOnlyDigitTextsOfTheRightLengthAreTaken) {
  zel::test::ClearTapiImsi();
  TapiImsiInfo info{};
  info.szMcc[0] = 'x';
  EXPECT_FALSE(SimGetImsiInfo(&info));
  EXPECT_EQ(info.szMcc[0], '\0');
  EXPECT_FALSE(SimGetImsiInfo(nullptr));

  ASSERT_TRUE(zel::test::SetTapiImsi("415", "01", "1234567890"));
  const struct {
    const char* pszMcc;
    const char* pszMnc;
    const char* pszMsin;
  } kBad[] = {{"41", "01", "1"},   {"4150", "01", "1"},          {"41a", "01", "1"},   {"274", "1", "1"},
              {"274", "1234", "1"}, {"274", "01", "12345678901"}, {nullptr, "01", "1"}, {"274", "01", "12-4"}};
  for (const auto& bad : kBad) {
    EXPECT_FALSE(zel::test::SetTapiImsi(bad.pszMcc, bad.pszMnc, bad.pszMsin)) << (bad.pszMcc ? bad.pszMcc : "null");
  }
  ASSERT_TRUE(SimGetImsiInfo(&info));  // the refused texts changed nothing
  EXPECT_STREQ(info.szMcc, "415");
  EXPECT_STREQ(info.szMnc, "01");
  EXPECT_STREQ(info.szMsin, "1234567890");
  zel::test::ClearTapiImsi();
  EXPECT_FALSE(SimGetImsiInfo(&info));
}

TEST(TapiClient, RegistrationNeedsAValidIdFlagAndForEventsACurrentHandler) {
  WmSetCurrentEventHandler(INVALID_HOBJ);
  zel::test::LogCapture capture;
  EXPECT_FALSE(TapiRegisterClient(0x500, 0, TAPI_DELIVER_EVENT_HANDLER));
  EXPECT_TRUE(capture.Contains("no current event handler"));
  EXPECT_FALSE(TapiRegisterClient(0, 0, TAPI_DELIVER_NONE));
  EXPECT_FALSE(TapiRegisterClient(0x500, 0, 2));

  // A requests-only client is known but takes no indications.
  ASSERT_TRUE(TapiRegisterClient(0x500, 0, TAPI_DELIVER_NONE));
  EXPECT_FALSE(TapiRaiseEvent(0x500, TAPI_EVENT_AT_PB_READ_IND, 1, 2, nullptr));
  EXPECT_TRUE(TapiUnregisterClient(0x500));
  EXPECT_FALSE(TapiUnregisterClient(0x500));
  EXPECT_FALSE(TapiRaiseEvent(0x501, TAPI_EVENT_AT_PB_READ_IND, 1, 2, nullptr));  // never registered
}

// Delivery on the registering handler's thread is the service's event handler test's
// (AtIndicationRunsOnTheServiceThread); here the whole record, data pointer included, and a gone
// handler.
TEST(ThreadsTapiClient, IndicationCarriesItsRecordUntilTheHandlerIsGone) {
  zel::coretest::Recorder<WmEvent> received;
  int nData = 42;
  {
    zel::coretest::FunctionHandler handler("TapiTest", [&](WmEHState*, WmEvent* pEvent) {
      if (pEvent->nEventId >= TAPI_WM_EVENT_FIRST && pEvent->nEventId <= TAPI_WM_EVENT_LAST) {
        received.Add(*pEvent);
      }
    });
    ASSERT_TRUE(WmSetCurrentEventHandler(handler.Handle()));
    ASSERT_TRUE(TapiRegisterClient(TAPI_CLIENT_AT, 0, TAPI_DELIVER_EVENT_HANDLER));
    WmSetCurrentEventHandler(INVALID_HOBJ);
    ASSERT_TRUE(TapiRaiseEvent(TAPI_CLIENT_AT, TAPI_EVENT_AT_MSISDN_REQ_IND, 7, -3, &nData));
    ASSERT_TRUE(handler.WaitIdle());
    const std::vector<WmEvent> values = received.Values();
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].nEventId, 0x35Bu);
    TapiEvent event{};
    ASSERT_TRUE(TapiGetEvent(&values[0], &event));
    EXPECT_EQ(event.nClientId, TAPI_CLIENT_AT);
    EXPECT_EQ(event.nEventType, TAPI_EVENT_AT_MSISDN_REQ_IND);
    EXPECT_EQ(event.nParam1, 7);
    EXPECT_EQ(event.nParam2, -3);
    EXPECT_EQ(event.pData, &nData);
  }
  // The handler is gone: the indication is refused, not lost silently.
  zel::test::LogCapture capture;
  EXPECT_FALSE(TapiRaiseEvent(TAPI_CLIENT_AT, TAPI_EVENT_AT_PB_READ_IND, 0, 0, nullptr));
  EXPECT_TRUE(capture.Contains("TapiRaiseEvent: - the event handler of client 0x360 is gone"));
  TapiUnregisterClient(TAPI_CLIENT_AT);
}

}  // namespace
