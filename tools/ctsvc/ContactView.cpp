#include "ContactView.h"

#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcFilter.h"

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

// Rows of one detail kind of a person, each converted by its record class.
template <typename Record, typename Filter, typename Fill>
Json DetailList(int nPersonId, void (*pfnInit)(Filter*), Fill fill) {
  Filter filter;
  pfnInit(&filter);
  filter.nPersonId = nPersonId;
  std::vector<CContent> vcRows;
  CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows);
  Json list = Json::Array();
  for (const CContent& row : vcRows) {
    Record record;
    if (record.SetData(row)) {
      Json item = Json::Object();
      item.Set("id", record.GetRecordId());
      fill(record, item);
      list.Push(item);
    }
  }
  return list;
}

}  // namespace

Json PersonView(int nPersonId) {
  CContent content;
  CCtSvcPerson person;
  if (!CContentMgr::Instance()->GetContent("CtSvc/Person", nPersonId, content) || !person.SetData(content)) {
    return Json();
  }
  Json view = Json::Object();
  view.Set("id", person.GetRecordId());
  view.Set("handle", static_cast<int>(person.GetHandle()));
  view.Set("store", person.GetDeviceType() == CTSVC_USE_TYPE_SIM ? "sim" : "phone");
  view.Set("name", FullName(person.GetFirstName(), person.GetLastName()));
  view.Set("account", person.GetAccountId());
  view.Set("primary", person.GetPrimaryId());
  if (!Date(person.GetBirthday()).empty()) {
    view.Set("birthday", Date(person.GetBirthday()));
  }
  view.Set("numbers", DetailList<CCtSvcPhoneNumber>(nPersonId, &CtSvcPhoneNumberFilterInit,
                                                    [](const CCtSvcPhoneNumber& r, Json& item) {
                                                      item.Set("number", r.GetPhoneNumber());
                                                      item.Set("type", static_cast<int>(r.GetPhoneType()));
                                                    }));
  view.Set("emails", DetailList<CCtSvcEmailAddress>(nPersonId, &CtSvcEmailFilterInit,
                                                    [](const CCtSvcEmailAddress& r, Json& item) {
                                                      item.Set("email", r.GetEmailAddress());
                                                    }));
  view.Set("addresses", DetailList<CCtSvcPostalAddress>(nPersonId, &CtSvcPostalAddressFilterInit,
                                                        [](const CCtSvcPostalAddress& r, Json& item) {
                                                          item.Set("street", r.GetStreet());
                                                          item.Set("city", r.GetCity());
                                                          item.Set("country", r.GetCountry());
                                                        }));
  return view;
}

Json PrimarySummary(int nPrimaryId) {
  CCtSvcPrimary primary;
  if (!CCtSvcDbMgr::Instance()->GetPrimary(nPrimaryId, primary)) {
    return Json();
  }
  Json item = Json::Object();
  item.Set("id", nPrimaryId);
  item.Set("name", FullName(primary.GetFirstName(), primary.GetLastName()));
  item.Set("links", primary.GetLinkCount());
  item.Set("favorite", Json::Bool(primary.GetFavorite() == CTSVC_FAVORITE_TYPE_FAVORITE));
  return item;
}

Json PrimaryView(int nPrimaryId) {
  Json view = PrimarySummary(nPrimaryId);
  if (view.GetKind() == Json::Kind::Null) {
    return view;
  }
  std::vector<CCtSvcPerson> vcPersons;
  CCtSvcDbMgr::Instance()->GetPersonSortByPriority(nPrimaryId, vcPersons);
  Json persons = Json::Array();
  for (const CCtSvcPerson& person : vcPersons) {
    persons.Push(PersonView(person.GetRecordId()));
  }
  view.Set("persons", persons);
  return view;
}

}  // namespace ctsvc_tool
