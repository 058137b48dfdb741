#include "ContactView.h"

#include <string>
#include <vector>

#include "CtSvcDbPerson.h"

namespace ctsvc_tool {

namespace {

std::string FullName(const char* szFirst, const char* szLast) {
  std::string strName = szFirst;
  if (*szLast != '\0') {
    strName += (strName.empty() ? "" : " ") + std::string(szLast);
  }
  return strName;
}

std::string Date(const TmDateTime& dt) {
  if (dt.year < 1900) {
    return "";
  }
  char szBuf[40];
  std::snprintf(szBuf, sizeof(szBuf), "%04d-%02d-%02d", dt.year, dt.month, dt.day);
  return szBuf;
}

// Every record a reader fills for one handle (the reader answers how many it filled, up to a capacity).
template <typename Record, typename Key>
std::vector<Record> ReadAll(int (*pfnRead)(Key, Record*, int), Key key) {
  std::vector<Record> vcRecords(16);
  for (;;) {
    const int nFilled = pfnRead(key, vcRecords.data(), static_cast<int>(vcRecords.size()));
    if (nFilled < static_cast<int>(vcRecords.size())) {
      vcRecords.resize(nFilled > 0 ? nFilled : 0);
      return vcRecords;
    }
    vcRecords.resize(vcRecords.size() * 2);
  }
}

// Rows of one detail kind of a person, each converted by fill.
template <typename Record, typename Fill>
Json DetailList(HOBJ hPerson, int (*pfnRead)(HOBJ, Record*, int), Fill fill) {
  Json list = Json::Array();
  for (const Record& record : ReadAll(pfnRead, hPerson)) {
    Json item = Json::Object();
    item.Set("id", record.nId);
    fill(record.Info, item);
    list.Push(item);
  }
  return list;
}

}  // namespace

Json PersonView(int nPersonId) {
  CtSvcPersonRecord person{};
  if (nPersonId <= 0 || !CtSvcDbPersonGetRecordById(nPersonId, &person)) {
    return Json();
  }
  const CtSvcPersonInfo& info = person.Info;
  const HOBJ hPerson = static_cast<HOBJ>(info.hPerson);
  Json view = Json::Object();
  view.Set("id", person.nId);
  view.Set("handle", static_cast<int>(hPerson));
  view.Set("store", person.DevType == CTSVC_USE_TYPE_SIM ? "sim" : "phone");
  view.Set("name", FullName(info.szFirstName, info.szLastName));
  view.Set("account", info.nAccountId);
  view.Set("primary", info.nPrimaryId);
  if (!Date(info.Birthday).empty()) {
    view.Set("birthday", Date(info.Birthday));
  }
  view.Set("numbers", DetailList(hPerson, &CtSvcDbPersonGetPhoneNumberList,
                                 [](const CtSvcPhoneNumberInfo& r, Json& item) {
                                   item.Set("number", r.szPhoneNumber);
                                   item.Set("type", static_cast<int>(r.PhoneType));
                                 }));
  view.Set("emails", DetailList(hPerson, &CtSvcDbPersonGetEmailAddressList,
                                [](const CtSvcEmailAddressInfo& r, Json& item) { item.Set("email", r.szEmailAddress); }));
  view.Set("addresses", DetailList(hPerson, &CtSvcDbPersonGetPostalAddressList,
                                   [](const CtSvcPostalAddressInfo& r, Json& item) {
                                     item.Set("street", r.szStreet);
                                     item.Set("city", r.szCity);
                                     item.Set("country", r.szCountry);
                                   }));
  return view;
}

Json PrimarySummary(int nPrimaryId) {
  CtSvcPrimaryRecord primary{};
  if (nPrimaryId <= 0 || !CtSvcDbPrimaryGetRecord(nPrimaryId, &primary)) {
    return Json();
  }
  Json item = Json::Object();
  item.Set("id", nPrimaryId);
  item.Set("name", FullName(primary.Info.szFirstName, primary.Info.szLastName));
  item.Set("links", primary.Info.nLinkCount);
  item.Set("favorite", Json::Bool(primary.Info.nFavorite == CTSVC_FAVORITE_TYPE_FAVORITE));
  return item;
}

Json PrimaryView(int nPrimaryId) {
  Json view = PrimarySummary(nPrimaryId);
  if (view.GetKind() == Json::Kind::Null) {
    return view;
  }
  Json persons = Json::Array();
  for (const CtSvcPersonRecord& person : ReadAll(&CtSvcDbPrimaryGetPersons, nPrimaryId)) {
    persons.Push(PersonView(person.nId));
  }
  view.Set("persons", persons);
  return view;
}

}  // namespace ctsvc_tool
