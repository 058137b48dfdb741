// Bytes -> the C structures of the interface (arbitrary texts, unterminated arrays, any numbers,
// odd list counts) -> record classes and whole contacts -> back to the structures. ASan guards
// every structure and array at its exact size, so a read or write beyond one stops the run.
// On every input:
//  - SetData answers 1 exactly when every text is terminated, well-formed UTF-8;
//  - every text written back is terminated, and is a prefix of what was read (the whole text when
//    it was well-formed);
//  - structures written by the library read back into the same structures (a second round changes
//    nothing);
//  - a contact holds one record per entry of each list (none for a null array or a count below 1),
//    each equal to the record built from the entry alone;
//  - trimming a contact for the SIM keeps well-formed texts well-formed and never adds entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"
#include "FuzzCheck.h"
#include "ZelFm.h"

namespace {

// Text slots of a record class's C structures: offset of each text array within a structure
// whose info part starts at nInfoOffset, and its size.
struct TextSlot {
  size_t nOffset;
  size_t nSize;
};

template <class C>
std::vector<TextSlot> TextSlots(size_t nInfoOffset) {
  std::vector<TextSlot> slots;
  for (const auto& f : C::Traits::kFields) {
    if (f.kind == CtSvcColumnKind::String && f.slot.place == CtSvcStructPlace::Info) {
      slots.push_back({nInfoOffset + f.slot.nOffset, f.slot.nSize});
    }
  }
  return slots;
}

const char* TextAt(const void* pBase, const TextSlot& slot) { return static_cast<const char*>(pBase) + slot.nOffset; }
char* TextAt(void* pBase, const TextSlot& slot) { return static_cast<char*>(pBase) + slot.nOffset; }

// The text of an array as the library must read it: up to the terminator or the array's end.
std::string ArrayText(const void* pBase, const TextSlot& slot) {
  const char* p = TextAt(pBase, slot);
  return std::string(p, strnlen(p, slot.nSize));
}

bool AllTextsValid(const void* pBase, const std::vector<TextSlot>& slots) {
  for (const TextSlot& slot : slots) {
    const std::string text = ArrayText(pBase, slot);
    if (text.size() == slot.nSize || !fuzz::IsUtf8(text)) {
      return false;
    }
  }
  return true;
}

// Fills a structure with input bytes; with bValid every text is then made terminated UTF-8.
template <class T>
void Fill(FuzzedDataProvider& in, T* p, const std::vector<TextSlot>& slots, bool bValid) {
  const std::vector<unsigned char> bytes = in.ConsumeBytes<unsigned char>(sizeof(T));
  if (!bytes.empty()) {
    std::memcpy(static_cast<void*>(p), bytes.data(), bytes.size());
  }
  if (!bValid) {
    return;
  }
  for (const TextSlot& slot : slots) {
    const std::string text = fuzz::ToUtf8(ArrayText(p, slot).substr(0, slot.nSize - 1));
    std::memcpy(TextAt(p, slot), text.c_str(), text.size() + 1);
  }
}

template <class T>
std::unique_ptr<T> Filled(FuzzedDataProvider& in, const std::vector<TextSlot>& slots, bool bValid) {
  auto p = std::make_unique<T>();
  Fill(in, p.get(), slots, bValid);
  return p;
}

// The structure a record writes, over a fixed pattern (members it leaves alone keep it).
template <class T, class C>
std::unique_ptr<T> Written(const C& record) {
  auto p = std::make_unique<T>();
  std::memset(static_cast<void*>(p.get()), 0x5A, sizeof(T));
  record.GetData(*p);
  return p;
}

// One structure (an info or a record) through the class and back.
template <class C, class T>
void RoundTrip(const T& in, size_t nInfoOffset) {
  const std::vector<TextSlot> slots = TextSlots<C>(nInfoOffset);
  const bool bValid = AllTextsValid(&in, slots);
  C record;
  FUZZ_CHECK((record.SetData(in) == 1) == bValid, "SetData answers 1 exactly for terminated UTF-8 texts");
  const auto pOut = Written<T>(record);
  for (const TextSlot& slot : slots) {
    const std::string before = ArrayText(&in, slot);
    const std::string after = ArrayText(pOut.get(), slot);
    FUZZ_CHECK(after.size() < slot.nSize, "a text written back is terminated");
    FUZZ_CHECK(before.compare(0, after.size(), after) == 0, "a text written back is a prefix of the text read");
    FUZZ_CHECK(!bValid || after == before, "a well-formed text comes back whole");
  }
  CContentInput input;
  record.GetData(input);  // the column values, as an insert would take them
  if (AllTextsValid(pOut.get(), slots)) {
    C again;
    FUZZ_CHECK(again.SetData(*pOut) == 1, "what the library writes it reads");
    const auto pOut2 = Written<T>(again);
    FUZZ_CHECK(std::memcmp(pOut.get(), pOut2.get(), sizeof(T)) == 0, "a second round changes nothing");
  }
}

template <class C>
void FuzzRecordClass(FuzzedDataProvider& in, bool bValid) {
  using Info = typename C::Info;
  using Record = typename C::Record;
  RoundTrip<C>(*Filled<Info>(in, TextSlots<C>(0), bValid), 0);
  RoundTrip<C>(*Filled<Record>(in, TextSlots<C>(offsetof(Record, Info)), bValid), offsetof(Record, Info));
}

// ---- whole contacts ---------------------------------------------------------------------------

// One detail list of a contact info: its array (exactly sized) and the count handed over.
template <class C>
struct ListArg {
  std::unique_ptr<typename C::Info[]> pArray;
  INT32 nCount = 0;
  size_t nEntries = 0;  // what the contact must hold

  ListArg(FuzzedDataProvider& in, bool bValid, bool bSingle) {
    const size_t nLength = bSingle ? 1 : in.ConsumeIntegralInRange<size_t>(0, 3);
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:  // the usual form
        nCount = static_cast<INT32>(nLength);
        break;
      case 1:  // entries, but a count of 0 or less
        nCount = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<INT32>(INT32_MIN, -1);
        break;
      case 2:  // no array, any count
        nCount = in.ConsumeIntegral<INT32>();
        return;
      default:  // fewer than there are
        nCount = static_cast<INT32>(nLength / 2);
        break;
    }
    pArray = std::make_unique<typename C::Info[]>(nLength);
    for (size_t i = 0; i < nLength; ++i) {
      Fill(in, &pArray[i], TextSlots<C>(0), bValid);
    }
    nEntries = bSingle ? 1 : (nCount > 0 ? static_cast<size_t>(nCount) : 0);
  }

  // The contact's list matches the entries, each as its own record would be.
  void Check(const std::vector<C>& list) const {
    FUZZ_CHECK(list.size() == nEntries, "one record per entry of a list");
    for (size_t i = 0; i < list.size(); ++i) {
      C alone;
      alone.SetData(pArray[i]);
      const auto pA = Written<typename C::Info>(list[i]);
      const auto pB = Written<typename C::Info>(alone);
      FUZZ_CHECK(std::memcmp(pA.get(), pB.get(), sizeof(typename C::Info)) == 0, "a contact's entry is the entry alone");
    }
  }
};

class FuzzSimLimits : public ICtSvcSimLimits {
 public:
  explicit FuzzSimLimits(FuzzedDataProvider& in) {
    for (int& n : m_values) {
      n = in.ConsumeIntegralInRange(-2, 80);
    }
  }
  int GetAdnNumberLength() const override { return m_values[0]; }
  int GetAdnNameLength() const override { return m_values[1]; }
  bool HasEmailFile() const override { return m_values[2] > 0; }
  int GetEmailLength() const override { return m_values[3]; }
  bool HasSneFile() const override { return m_values[4] > 0; }
  int GetSneLength() const override { return m_values[5]; }
  int GetFreeAnrCount(int) const override { return m_values[6]; }
  int GetFreeEmailCount(int) const override { return m_values[7]; }
  int GetFreeSneCount(int) const override { return m_values[8]; }

 private:
  int m_values[9] = {};
};

template <class C>
void CheckTextsUtf8(const std::vector<C>& list, const char* what) {
  for (const C& record : list) {
    const auto p = Written<typename C::Info>(record);
    FUZZ_CHECK(AllTextsValid(p.get(), TextSlots<C>(0)), what);
  }
}

void FuzzContact(FuzzedDataProvider& in, bool bValid) {
  const bool bPerson = in.ConsumeIntegralInRange(0, 7) != 0;
  std::unique_ptr<CtSvcPersonInfo> pPerson;
  if (bPerson) {
    pPerson = Filled<CtSvcPersonInfo>(in, TextSlots<CCtSvcPerson>(0), bValid);
  }
  ListArg<CCtSvcPhoneNumber> numbers(in, bValid, false);
  ListArg<CCtSvcEmailAddress> emails(in, bValid, false);
  ListArg<CCtSvcPostalAddress> addresses(in, bValid, false);
  ListArg<CCtSvcEtcData> etc(in, bValid, false);
  ListArg<CCtSvcGroupMember> members(in, bValid, false);
  ListArg<CCtSvcIM> ims(in, bValid, false);
  ListArg<CCtSvcRcs> rcs(in, bValid, true);
  ListArg<CCtSvcSnsData> sns(in, bValid, true);
  CtSvcContactInfo info{};
  info.pPersonInfo = pPerson.get();
  info.pPhoneNumberInfo = numbers.pArray.get();
  info.nPhoneNumberCount = numbers.nCount;
  info.pEmailAddressInfo = emails.pArray.get();
  info.nEmailAddressCount = emails.nCount;
  info.pPostalAddressInfo = addresses.pArray.get();
  info.nPostalAddressCount = addresses.nCount;
  info.pGroupMemberInfo = members.pArray.get();
  info.nGroupMemberCount = members.nCount;
  info.pEtcDataInfo = etc.pArray.get();
  info.nEtcDataCount = etc.nCount;
  info.pIMInfo = ims.pArray.get();
  info.nIMCount = ims.nCount;
  info.pRcsInfo = rcs.pArray.get();
  info.pSnsDataInfo = sns.pArray.get();
  const auto nDevice = static_cast<CtSvcDeviceType>(in.ConsumeIntegralInRange(0, 2));
  CCtSvcContact contact(info, nDevice);
  if (bValid && bPerson) {
    FUZZ_CHECK(contact.SetContactInfo(info, nDevice) == 1, "a contact of well-formed texts is taken whole");
  }
  numbers.Check(contact.GetPhoneNumberList());
  emails.Check(contact.GetEmailAddressList());
  addresses.Check(contact.GetPostalAddressList());
  etc.Check(contact.GetEtcDataList());
  members.Check(contact.GetGroupMemberList());
  ims.Check(contact.GetIMList());
  rcs.Check(contact.GetRcsList());
  sns.Check(contact.GetSnsDataList());

  const FuzzSimLimits limits(in);
  const size_t nNumbers = contact.GetPhoneNumberCount();
  const size_t nEmails = contact.GetEmailAddressCount();
  CtSvcSetSimLimits(&limits);
  contact.RemoveFieldForSim(in.ConsumeBool() ? 1 : 0);
  CtSvcSetSimLimits(nullptr);
  FUZZ_CHECK(static_cast<size_t>(contact.GetPhoneNumberCount()) <= nNumbers, "trimming adds no number");
  FUZZ_CHECK(static_cast<size_t>(contact.GetEmailAddressCount()) <= nEmails, "trimming adds no e-mail");
  if (bValid) {
    CheckTextsUtf8(std::vector<CCtSvcPerson>{contact.GetPerson()}, "a trimmed name stays UTF-8");
    CheckTextsUtf8(contact.GetEmailAddressList(), "a trimmed e-mail stays UTF-8");
    CheckTextsUtf8(contact.GetEtcDataList(), "a trimmed second name stays UTF-8");
  }
}

using FuzzFn = void (*)(FuzzedDataProvider&, bool);
constexpr FuzzFn kTargets[] = {
    FuzzContact,
    FuzzRecordClass<CCtSvcPerson>,
    FuzzRecordClass<CCtSvcPrimary>,
    FuzzRecordClass<CCtSvcPhoneNumber>,
    FuzzRecordClass<CCtSvcEmailAddress>,
    FuzzRecordClass<CCtSvcPostalAddress>,
    FuzzRecordClass<CCtSvcEtcData>,
    FuzzRecordClass<CCtSvcGroupMember>,
    FuzzRecordClass<CCtSvcIM>,
    FuzzRecordClass<CCtSvcRcs>,
    FuzzRecordClass<CCtSvcSnsData>,
    FuzzRecordClass<CCtSvcGroup>,
    FuzzRecordClass<CCtSvcFdn>,
    FuzzRecordClass<CCtSvcSpeedDial>,
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*pArgc*/, char*** /*pArgv*/) {
  // Settings and the table id counters read the data directory: keep it out of the work tree.
  static std::string s_dir = std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") +
                             "/ctsvc-fuzz-records-XXXXXX";
  if (mkdtemp(s_dir.data()) != nullptr) {
    ZelSetDataDir(s_dir.c_str());
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(s_dir, ec);
    });
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  FuzzedDataProvider in(pData, nSize);
  const FuzzFn pfn = kTargets[in.ConsumeIntegralInRange<size_t>(0, std::size(kTargets) - 1)];
  pfn(in, in.ConsumeBool());
  return 0;
}
