#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SimTestSupport.h"
#include "ZelSimSampleCard.h"

namespace {

using zel::simtest::As;
using zel::simtest::DialInfo;
using zel::simtest::Event;
using zel::simtest::ReadReq;
using zel::simtest::SimConnection;
using zel::simtest::UpdateReq;
using zel::test::SimFault;
using zel::test::SimOp;

constexpr UINT32 kAdn = 0x6F3A;

std::string GsmCard() { return zel::sim::BuildSampleCard(zel::sim::SampleCardType::Gsm, false); }
std::string UsimCard() { return zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false); }

SimDialNumberInfo DialOf(const Event& event) { return As<SimDialNumberInfo>(event, SIM_READ_EVENT_DATA_OFFSET); }

TEST(ThreadsSimRequest, AnswersArriveOnTheOpenersHandlerWithTheRecordStructures) {
  SimConnection sim;
  ASSERT_NE(sim.Handle(), INVALID_HOBJ);
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));

  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), kAdn));
  Event event = sim.Last();
  EXPECT_EQ(event.nType, SIM_EVENT_GET_FILE_INFO);
  EXPECT_EQ(event.nStatus, SIM_STATUS_OK);
  EXPECT_EQ(event.hCurrent, sim.Handler());
  const auto info = As<SimFileInfoEventData>(event);
  EXPECT_EQ(info.fileID, kAdn);
  EXPECT_EQ(info.structure, static_cast<UINT32>(SIM_FILE_STRUCTURE_LINEAR_FIXED));
  EXPECT_EQ(info.recordLen, 30u);
  EXPECT_EQ(info.recordCount, 250u);
  EXPECT_EQ(info.available, 1u);

  const SimReadFileReq read = ReadReq(kAdn, 1, 30);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  event = sim.Last();
  EXPECT_EQ(event.nType, SIM_EVENT_READ_FILE);
  EXPECT_EQ(event.nParam, sizeof(SimDialNumberInfo));
  EXPECT_EQ(As<SimReadEventHeader>(event).recordNum, 1u);
  const SimDialNumberInfo anna = DialOf(event);
  EXPECT_EQ(zel::simtest::AlphaOf(anna), "Anna Schmidt");
  EXPECT_STREQ(anna.szNumber, "491701234567");
  EXPECT_EQ(anna.ton, 1u);
  EXPECT_EQ(anna.alphaFieldLen, 16u);

  const SimSearchRecordReq search = zel::simtest::EmptySearchReq(kAdn, 250, 30);
  ASSERT_TRUE(SimSearchRecord(sim.Handle(), &search));
  const auto found = As<SimSearchEventData>(sim.Last());
  EXPECT_EQ(found.dataLen, 243u);  // seven sample contacts
  EXPECT_EQ(found.pData[0], 8);
  EXPECT_EQ(found.pData[242], 250);

  // The file a telephony id does not reach answers "not found" with an unknown structure.
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), 0x6F99));
  event = sim.Last();
  EXPECT_EQ(event.nStatus, SIM_STATUS_FILE_NOT_FOUND);
  EXPECT_EQ(As<SimFileInfoEventData>(event).structure, static_cast<UINT32>(SIM_FILE_STRUCTURE_UNKNOWN));
  EXPECT_EQ(As<SimFileInfoEventData>(event).recordCount, 0u);
}

TEST(ThreadsSimRequest, OneRequestAtATimeAndTheCallbackMaySendTheNext) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  zel::test::HoldSimAnswers(true);
  const SimReadFileReq first = ReadReq(kAdn, 1, 30);
  const SimReadFileReq second = ReadReq(kAdn, 2, 30);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &first));
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(SimReadFile(sim.Handle(), &second));
    EXPECT_FALSE(SimGetFileInfo(sim.Handle(), kAdn));
    EXPECT_TRUE(capture.Contains("SimReadFile: - a request is outstanding (file 0x6F3A refused)"));
  }
  EXPECT_TRUE(sim.Events().empty());
  EXPECT_EQ(zel::test::HeldSimAnswerCount(), 1);
  zel::test::HoldSimAnswers(false);
  ASSERT_TRUE(zel::test::ReleaseSimAnswer());
  EXPECT_FALSE(zel::test::ReleaseSimAnswer());
  ASSERT_EQ(sim.Events().size(), 1u);
  EXPECT_EQ(As<SimReadEventHeader>(sim.Last()).recordNum, 1u);

  // Reading record after record from inside the callback, as a load does.
  zel::coretest::Recorder<BOOL> sent;
  SimConnection::s_onEvent = [&](const Event& event) {
    const UINT32 nNext = As<SimReadEventHeader>(event).recordNum + 1;
    if (nNext <= 7) {
      const SimReadFileReq next = ReadReq(kAdn, nNext, 30);
      sent.Add(SimReadFile(sim.Handle(), &next));
    }
  };
  ASSERT_TRUE(SimReadFile(sim.Handle(), &second));
  ASSERT_TRUE(sent.WaitFor(5));
  const std::vector<Event> events = sim.Events();
  SimConnection::s_onEvent = nullptr;
  EXPECT_EQ(sent.Values(), std::vector<BOOL>(5, TRUE));
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(zel::simtest::AlphaOf(DialOf(events[4])), "Long Number");
  EXPECT_EQ(DialOf(events[4]).extensionId, 1);
  EXPECT_EQ(DialOf(events[6]).alphaLen, 0u);  // the number-only record
  EXPECT_STREQ(DialOf(events[6]).szNumber, "0301234,567");
}

TEST(ThreadsSimRequest, UsimPhonebookIdsReachTheFilesThePbrNames) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(UsimCard()));
  const struct {
    UINT32 nId;
    UINT32 nLen;
    UINT32 nCount;
    int nStatus;
  } kFiles[] = {
      {0xFF01, 64, 2, SIM_STATUS_OK},   {0xFF07, 32, 100, SIM_STATUS_OK},  {0xFF1A, 32, 100, SIM_STATUS_OK},
      {0xEF07, 32, 100, SIM_STATUS_OK}, {0xFF10, 15, 100, SIM_STATUS_OK},  {0xFF13, 17, 50, SIM_STATUS_OK},
      {0xFF12, 42, 50, SIM_STATUS_OK},  {0xFF44, 0, 0, SIM_STATUS_FILE_NOT_FOUND},  // one EMAIL per record
      {0xFF14, 0, 0, SIM_STATUS_FILE_NOT_FOUND},  {0xFF30, 0, 0, SIM_STATUS_FILE_NOT_FOUND},  // no PBR record 2
      {0xFF0A, 13, 20, SIM_STATUS_OK},  {0xFF0E, 20, 10, SIM_STATUS_OK},   {0xFF04, 4, 1, SIM_STATUS_OK},
      {0x6A3B, 30, 20, SIM_STATUS_OK},  {0x6A40, 30, 2, SIM_STATUS_OK},    {0x6A4E, 13, 5, SIM_STATUS_OK},
  };
  for (const auto& f : kFiles) {
    ASSERT_TRUE(SimGetFileInfo(sim.Handle(), f.nId));
    const Event event = sim.Last();
    EXPECT_EQ(event.nStatus, f.nStatus) << std::hex << f.nId;
    EXPECT_EQ(As<SimFileInfoEventData>(event).recordLen, f.nLen) << std::hex << f.nId;
    EXPECT_EQ(As<SimFileInfoEventData>(event).recordCount, f.nCount) << std::hex << f.nId;
  }
  // The e-mail of PBR 0's first contact, reached through IAP, names its ADN record.
  SimReadFileReq read = ReadReq(0xFF08, 1, 2);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  const auto iap = As<SimIapInfo>(sim.Last(), SIM_READ_EVENT_DATA_OFFSET);
  EXPECT_EQ(iap.recordNum[0], 1);  // second ANR record 1
  EXPECT_EQ(iap.recordNum[1], 1);  // e-mail record 1
  read = ReadReq(0xFF12, iap.recordNum[1], 42);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  const auto email = As<SimTextInfo>(sim.Last(), SIM_READ_EVENT_DATA_OFFSET);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(email.text), email.textLen),
            std::string("anna\0example.com", 16));  // '@' is 0x00 in the GSM alphabet
  EXPECT_EQ(email.adnSfi, 2);
  EXPECT_EQ(email.adnRecordNum, 1);
  EXPECT_EQ(email.fileID, 0x4F50);
  // Transparent files travel as their raw bytes.
  read = ReadReq(0xFF04, 0, 4);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  const Event psc = sim.Last();
  EXPECT_EQ(psc.nParam, 4u);
  EXPECT_EQ(std::vector<uint8_t>(psc.data.begin() + SIM_READ_EVENT_DATA_OFFSET, psc.data.end()),
            (std::vector<uint8_t>{0, 0, 0, 1}));
  // GRP: the empty pattern is zero.
  const SimSearchRecordReq search = zel::simtest::EmptySearchReq(0xFF0B, 100, 5, 0x00);
  ASSERT_TRUE(SimSearchRecord(sim.Handle(), &search));
  EXPECT_EQ(As<SimSearchEventData>(sim.Last()).dataLen, 96u);  // four of the five contacts have groups
}

TEST(ThreadsSimRequest, WritesReplaceTheCardFileAndAFailedWriteLeavesTheOldOne) {
  zel::coretest::TempDataDir dir;
  const std::string path = dir.Path() + "/sim/card.json";
  std::filesystem::create_directories(dir.Path() + "/sim");
  zel::coretest::WriteHost(path, GsmCard());
  SimConnection sim;  // reads the data directory's card
  ASSERT_EQ(SimGetCardType(), SIM_CARD_TYPE_GSM);

  const SimUpdateFileReq update = UpdateReq(kAdn, 3, 30, DialInfo("Bob", "4930123", 1));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &update));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OK);
  const std::string written = zel::coretest::ReadHost(path);
  EXPECT_NE(written.find("426F62FFFFFFFFFFFFFFFFFFFFFFFFFF0591940321F3FFFFFFFFFFFFFFFF"), std::string::npos);

  // A restart reads the record back from the file.
  zel::test::ResetSim();
  const SimReadFileReq read = ReadReq(kAdn, 3, 30);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(zel::simtest::AlphaOf(DialOf(sim.Last())), "Bob");

  // A writer stopped half-way: the update fails, file and record stay as they were.
  zel::test::InjectSimCardWriteFailure();
  const SimUpdateFileReq lost = UpdateReq(kAdn, 3, 30, DialInfo("Carol", "1", 0));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &lost));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_TECHNICAL_PROBLEM);
  EXPECT_EQ(zel::coretest::ReadHost(path), written);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(zel::simtest::AlphaOf(DialOf(sim.Last())), "Bob");
  zel::test::ResetSim();
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_GSM);  // the half-written temporary file is not the card

  // A record the codec cannot write is refused by the card and changes nothing.
  const SimUpdateFileReq bad = UpdateReq(kAdn, 3, 30, DialInfo("Dan", "12x", 0));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &bad));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_INCONSISTENT);
  EXPECT_EQ(zel::coretest::ReadHost(path), written);

  // The card pulled while a write's answer is still out: the write fails and the file is as it was.
  const size_t nEvents = sim.Events().size();
  zel::test::HoldSimAnswers(true);
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &lost));
  zel::test::RemoveSimCard();
  zel::test::HoldSimAnswers(false);
  ASSERT_EQ(sim.Events().size(), nEvents + 1);
  EXPECT_EQ(sim.Last().nType, SIM_EVENT_UPDATE_FILE);
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_TECHNICAL_PROBLEM);
  EXPECT_EQ(zel::coretest::ReadHost(path), written);
  zel::test::ResetSim();
}

TEST(ThreadsSimRequest, AccessConditionsAreThoseOfTheCardFile) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  const SimUpdateFileReq fdn = UpdateReq(0x6F3B, 1, 30, DialInfo("Fdn", "112", 0));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &fdn));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_ACCESS_DENIED);
  EXPECT_FALSE(zel::test::VerifySimPin2("0000"));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &fdn));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_ACCESS_DENIED);
  EXPECT_TRUE(zel::test::VerifySimPin2("1234"));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &fdn));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OK);

  const SimUpdateFileReq sdn = UpdateReq(0x6F49, 1, 30, DialInfo("Sdn", "1", 0));
  ASSERT_TRUE(SimUpdateFile(sim.Handle(), &sdn));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_ACCESS_DENIED);  // "never", PIN2 or not

  zel::test::SetSimPin1Verified(false);
  const SimReadFileReq read = ReadReq(kAdn, 1, 30);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_ACCESS_DENIED);
  EXPECT_TRUE(sim.Last().data.empty());

  ASSERT_TRUE(zel::test::InsertSimCardText(
      "{\"type\": \"sim\", \"files\": [{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"linear\", "
      "\"record_length\": 14, \"records\": [\"FFFFFFFFFFFFFFFFFFFFFFFFFFFF\"], \"read\": \"never\"}]}"));
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), kAdn));
  EXPECT_EQ(As<SimFileInfoEventData>(sim.Last()).acRead, static_cast<UINT32>(SIM_ACCESS_NEVER));
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_ACCESS_DENIED);
  const SimReadFileReq beyond = ReadReq(kAdn, 2, 14);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &beyond));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OUT_OF_RANGE);
}

TEST(ThreadsSimRequest, InjectedFaultsAndCountsPerFile) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  const SimReadFileReq read = ReadReq(kAdn, 1, 30);
  zel::test::InjectSimFault(kAdn, SimOp::Read, SimFault::NotSent);
  zel::test::InjectSimFault(kAdn, SimOp::Read, SimFault::ErrorAnswer, 1, 0x6A83);
  zel::test::InjectSimFault(kAdn, SimOp::Read, SimFault::EmptyAnswer);
  zel::test::InjectSimFault(zel::test::kAnyFile, SimOp::FileInfo, SimFault::ErrorAnswer, -1);
  EXPECT_FALSE(SimReadFile(sim.Handle(), &read));
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(sim.Last().nStatus, 0x6A83);
  EXPECT_TRUE(sim.Last().data.empty());
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OK);
  EXPECT_EQ(sim.Last().nParam, 0u);  // status 0, nothing read
  EXPECT_EQ(sim.Last().data.size(), static_cast<size_t>(SIM_READ_EVENT_DATA_OFFSET));
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  EXPECT_EQ(zel::simtest::AlphaOf(DialOf(sim.Last())), "Anna Schmidt");  // the faults are used up
  for (const UINT32 nId : {kAdn, 0x6F3Bu}) {
    ASSERT_TRUE(SimGetFileInfo(sim.Handle(), nId));
    EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_TECHNICAL_PROBLEM);
    EXPECT_EQ(As<SimFileInfoEventData>(sim.Last()).recordCount, 0u);
  }
  EXPECT_EQ(zel::test::SimRequestCount(kAdn, SimOp::Read), 3);  // the one not sent is not counted
  EXPECT_EQ(zel::test::SimRequestCount(kAdn, SimOp::FileInfo), 1);
  EXPECT_EQ(zel::test::SimRequestCount(0x6F3B, SimOp::Update), 0);
  zel::test::ResetSimRequestCounts();
  EXPECT_EQ(zel::test::SimRequestCount(kAdn, SimOp::Read), 0);
}

TEST(ThreadsSimRequest, RemovedCardRefusesRequestsAndFailsTheOneInFlight) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  zel::test::HoldSimAnswers(true);
  const SimReadFileReq read = ReadReq(kAdn, 1, 30);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  zel::test::RemoveSimCard();
  EXPECT_EQ(zel::test::HeldSimAnswerCount(), 0);
  ASSERT_EQ(sim.Events().size(), 1u);
  EXPECT_EQ(sim.Last().nType, SIM_EVENT_READ_FILE);
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_TECHNICAL_PROBLEM);
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_UNKNOWN);
  EXPECT_FALSE(SimReadFile(sim.Handle(), &read));
  zel::test::HoldSimAnswers(false);
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));  // nothing left outstanding
  ASSERT_EQ(sim.Events().size(), 2u);
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OK);
}

// The service's handler is deleted at unload with an answer still queued: the next connection's
// requests are not refused for it.
TEST(ThreadsSimRequest, AnAnswerLostWithItsHandlerLeavesNothingOutstanding) {
  SimConnection sim;
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  HOBJ hGone = INVALID_HOBJ;
  {
    zel::coretest::FunctionHandler gone("SimGoneHandler", [](WmEHState*, WmEvent*) {});
    WmSetCurrentEventHandler(gone.Handle());
    hGone = SimOpen([](int, int, void* pData, UINT32) { MemFreeTraceMultiHeap(pData, __FILE__, __LINE__); });
    WmSetCurrentEventHandler(INVALID_HOBJ);
    zel::test::HoldSimAnswers(true);
    ASSERT_TRUE(SimGetFileInfo(hGone, kAdn));
  }
  zel::test::HoldSimAnswers(false);
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), kAdn));
  EXPECT_EQ(sim.Last().nType, SIM_EVENT_GET_FILE_INFO);
  EXPECT_TRUE(zel::test::ReleaseSimAnswer());  // the lost one goes nowhere
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), kAdn));
  EXPECT_EQ(sim.Events().size(), 2u);
  EXPECT_TRUE(SimClose(hGone));
}

TEST(ThreadsSimRequest, CloseIsConfirmedAndUnsolicitedEventsReachEveryConnection) {
  SimConnection sim;
  EXPECT_EQ(SimOpen(nullptr), INVALID_HOBJ);
  EXPECT_EQ(SimOpen([](int, int, void*, UINT32) {}), INVALID_HOBJ);  // no current handler here
  const UINT32 nPin = 7;
  zel::test::SendSimEvent(0, SIM_EVENT_VERIFY_PIN1_IND, &nPin, sizeof(nPin), 0);
  Event event = sim.Last();
  EXPECT_EQ(event.nType, SIM_EVENT_VERIFY_PIN1_IND);
  EXPECT_EQ(sim.Events().size(), 1u);

  // A second connection on the same handler; closing it is confirmed on its callback and it
  // takes no requests.
  WmSetCurrentEventHandler(sim.Handler());
  const HOBJ hOther = SimOpen([](int nStatus, int nType, void* pData, UINT32) {
    MemFreeTraceMultiHeap(pData, __FILE__, __LINE__);
    EXPECT_EQ(nType, SIM_EVENT_SIM_CLOSE);
    EXPECT_EQ(nStatus, 0);
  });
  WmSetCurrentEventHandler(INVALID_HOBJ);
  ASSERT_NE(hOther, INVALID_HOBJ);
  ASSERT_TRUE(zel::test::InsertSimCardText(GsmCard()));
  EXPECT_TRUE(SimClose(hOther));
  EXPECT_FALSE(SimClose(hOther));
  EXPECT_FALSE(SimGetFileInfo(hOther, kAdn));
  EXPECT_EQ(sim.Events().size(), 1u);  // nothing for the first connection
}

}  // namespace

namespace {

// Content a card should not hold loads, and each record reads as far as it can be decoded.
TEST(ThreadsSimRequest, OddContentLoadsAndReadsWhatItCan) {
  SimConnection sim;
  const std::string card =
      "{\"type\": \"usim\", \"files\": ["
      // PBR: an unknown constructed tag and an unknown file tag around the ADN entry
      "{\"name\": \"PBR\", \"id\": \"4F30\", \"structure\": \"linear\", \"record_length\": 20, \"records\": "
      "[\"AB04C0024F99A809D1021234C0034F3A02FFFFFF\", \"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\"]},"
      // ADN: a length byte beyond the number field
      "{\"name\": \"ADN\", \"id\": \"4F3A\", \"structure\": \"linear\", \"record_length\": 16, \"records\": "
      "[\"4142" "2091" "21436587092143658709" "FF01\"]},"
      // EXT1: two records pointing at each other
      "{\"name\": \"EXT1\", \"id\": \"4F4A\", \"structure\": \"linear\", \"record_length\": 13, \"records\": "
      "[\"020121FFFFFFFFFFFFFFFFFF02\", \"020143FFFFFFFFFFFFFFFFFF01\"]},"
      // no records at all
      "{\"name\": \"SNE\", \"id\": \"4F19\", \"structure\": \"linear\", \"record_length\": 20, \"records\": []}"
      "]}";
  std::string why;
  ASSERT_TRUE(zel::test::InsertSimCardText(card, &why)) << why;

  SimReadFileReq read = ReadReq(0xFF01, 1, 20);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  const auto pbr = As<SimPbrInfo>(sim.Last(), SIM_READ_EVENT_DATA_OFFSET);
  ASSERT_EQ(pbr.entryCount, 2);
  EXPECT_EQ(pbr.entries[0].fileTag, 0xD1u);
  EXPECT_EQ(pbr.entries[1].fileID, 0x4F3Au);
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), 0xFF07));  // the ADN the PBR names
  EXPECT_EQ(As<SimFileInfoEventData>(sim.Last()).recordLen, 16u);

  read = ReadReq(0xFF07, 1, 16);
  ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
  const SimDialNumberInfo adn = DialOf(sim.Last());
  EXPECT_STREQ(adn.szNumber, "12345678901234567890");
  EXPECT_EQ(adn.extensionId, 1);

  for (const UINT32 nRecord : {1u, 2u}) {
    read = ReadReq(0xFF0A, nRecord, 13);
    ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
    const auto ext = As<SimExtInfo>(sim.Last(), SIM_READ_EVENT_DATA_OFFSET);
    EXPECT_EQ(ext.nextRecord, 3 - nRecord);
    EXPECT_STREQ(ext.extData, nRecord == 1 ? "12" : "34");
  }

  // The second PBR record is unused: its files are not there. The empty SNE has no records.
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), 0xFF1A));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_FILE_NOT_FOUND);
  ASSERT_TRUE(SimGetFileInfo(sim.Handle(), 0x4F19));
  EXPECT_EQ(As<SimFileInfoEventData>(sim.Last()).recordCount, 0u);
  const SimSearchRecordReq search = zel::simtest::EmptySearchReq(0x4F19, 0, 20);
  ASSERT_TRUE(SimSearchRecord(sim.Handle(), &search));
  EXPECT_EQ(sim.Last().nStatus, SIM_STATUS_OK);
  EXPECT_EQ(As<SimSearchEventData>(sim.Last()).dataLen, 0u);
}

}  // namespace

namespace {

std::string WithAdnStatus(const char* pszStatus) {
  std::string card = GsmCard();
  const std::string key = "\"id\": \"6F3A\"";
  card.insert(card.find(key) + key.size(), std::string(", \"status\": \"") + pszStatus + "\"");
  return card;
}

TEST(ThreadsSimRequest, AnInvalidatedFileAnswersOnlyWhenItAllowsReadingAndUpdating) {
  SimConnection sim;
  const SimReadFileReq read = ReadReq(kAdn, 1, 30);
  const struct {
    const char* pszStatus;
    UINT32 nFileStatus;
    int nReadStatus;
  } kCases[] = {{"valid", SIM_FILE_STATUS_NOT_INVALIDATED, SIM_STATUS_OK},
                {"invalidated", 0, SIM_STATUS_INVALIDATED},
                {"invalidated_rw", SIM_FILE_STATUS_RW_WHEN_INVALIDATED, SIM_STATUS_OK}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.pszStatus);
    ASSERT_TRUE(zel::test::InsertSimCardText(WithAdnStatus(c.pszStatus)));
    ASSERT_TRUE(SimGetFileInfo(sim.Handle(), kAdn));
    EXPECT_EQ(As<SimFileInfoEventData>(sim.Last()).fileStatus, c.nFileStatus);
    ASSERT_TRUE(SimReadFile(sim.Handle(), &read));
    EXPECT_EQ(sim.Last().nStatus, c.nReadStatus);
    const SimUpdateFileReq update = UpdateReq(kAdn, 1, 30, DialInfo("X", "1", 0));
    ASSERT_TRUE(SimUpdateFile(sim.Handle(), &update));
    EXPECT_EQ(sim.Last().nStatus, c.nReadStatus);
  }
  std::string strError;
  EXPECT_FALSE(zel::test::InsertSimCardText(WithAdnStatus("broken"), &strError));
  EXPECT_NE(strError.find("\"status\" must be valid, invalidated or invalidated_rw"), std::string::npos) << strError;
}

}  // namespace
