// Mass-synchronisation reader: validates the request and runs the person query on the caller's
// task, then reads the persons in batches on "CTSVC" and hands each batch, as vCard text, to the
// client's function.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDbCi/CtSvcDbListenerRelay.h"
#include "CtSvcDbCi/CtSvcDbMassSyncText.h"
#include "CtSvcDbListener.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"

namespace {

const char kPersonSql[] = "select ID, FIRSTNAME, LASTNAME, BIRTHDAY from CtSvcPerson";
const char kContactDataSql[] =
    "select PHONE_TYPE, USE_TYPE, CONTACT_DATA from CtSvcContactDataTable where CtSvcContactDataTable.PERSON_ID = ?";
const char kPostalAddressSql[] =
    "select USE_TYPE, CITY, COUNTRY, PCODE, PBOXNUM, STATE, STREET from CtSvcPostalAddress where "
    "CtSvcPostalAddress.PERSON_ID = ?";
const char kEtcDataSql[] = "select ETC_DATA, ETC_TYPE from CtSvcEtcData where CtSvcEtcData.PERSON_ID = ?";

// Without a maximum, one batch holds every person and the buffer grows by this many persons.
const int kUnlimitedStepPersons = 64;

int IntAt(const CContent& row, int nIndex) {
  int32_t nValue = 0;
  row.GetInt(nIndex, nValue);
  return nValue;
}

std::string TextAt(const CContent& row, int nIndex) {
  std::u16string strValue;
  row.GetString(nIndex, strValue);
  return CtSvcToLCode(strValue);
}

// Binds the person id, runs the detail statement and calls f(row) for each row.
template <class F>
void ForEachDetail(const CCtSvcDb2Stmt& stmt, int nPersonId, F f) {
  CCtSvcStmtBinder binder(stmt.Get());
  if (!binder.BindInt(nPersonId) || Db2StmtExecute(stmt.Get()) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - detail query of person %d failed\n", nPersonId);
    return;
  }
  CContent row;
  while (Db2StmtGetNextRow(stmt.Get()) > 0) {
    CtSvcReadRow(stmt.Get(), row);
    f(row);
  }
  Db2StmtClearRow(stmt.Get());
}

class CCtSvcMassSyncJob : public ICtSvcDbCiDeferred {
 public:
  CCtSvcMassSyncJob(int nSyncType, int nMaxRecords, CtSvcDbMassSyncCallback pfnCallback)
      : m_nSyncType(nSyncType),
        m_nMaxRecords(nMaxRecords),
        m_pfnCallback(pfnCallback),
        m_Person(kPersonSql),
        m_ContactData(kContactDataSql),
        m_PostalAddress(kPostalAddressSql) {
    if (nSyncType == CTSVC_MASSSYNC_TYPE_ALL) {
      m_EtcData.emplace(kEtcDataSql);
    }
  }

  bool IsPrepared() const {
    return m_Person.IsValid() && m_ContactData.IsValid() && m_PostalAddress.IsValid() &&
           (!m_EtcData || m_EtcData->IsValid());
  }

  // Runs the person query; the number of persons.
  int ExecutePersons() {
    m_nPersonCount = Db2StmtExecute(m_Person.Get());
    return m_nPersonCount;
  }

  void Run() override;

 private:
  const char* _LogName() const {
    return m_nSyncType == CTSVC_MASSSYNC_TYPE_ALL ? "__CtSvcDbMassSyncType1GetNextRows"
                                                  : "__CtSvcDbMassSyncType2GetNextRows";
  }
  int _BatchSize() const { return m_nMaxRecords > 0 ? m_nMaxRecords : m_nPersonCount; }
  bool _ReadBatch(CCtSvcMassSyncText& text, int& nCount);
  // The person and its details as a contact info.
  void _ReadPerson(const CContent& person, CCtSvcContactInfoBuilder& card);
  // The person's vCard (2.1, written by the vCard codec); empty when it cannot be written.
  std::string _PersonVCard(const CContent& person);

  int m_nSyncType;
  int m_nMaxRecords;
  CtSvcDbMassSyncCallback m_pfnCallback;
  CCtSvcDb2Stmt m_Person;
  CCtSvcDb2Stmt m_ContactData;
  CCtSvcDb2Stmt m_PostalAddress;
  std::optional<CCtSvcDb2Stmt> m_EtcData;  // sync type 0 only
  int m_nPersonCount = 0;
};

void CCtSvcMassSyncJob::_ReadPerson(const CContent& person, CCtSvcContactInfoBuilder& card) {
  const int nPersonId = IntAt(person, 0);
  CtSvcCopyText(card.person.szFirstName, TextAt(person, 1));
  CtSvcCopyText(card.person.szLastName, TextAt(person, 2));
  person.GetDateTime(3, card.person.Birthday);
  // Numbers and e-mail addresses share one table; only an address holds '@'.
  ForEachDetail(m_ContactData, nPersonId, [&](const CContent& row) {
    const std::string strData = TextAt(row, 2);
    if (strData.find('@') != std::string::npos) {
      card.Email(strData);
      card.vcEmails.back().UseType = IntAt(row, 1);
    } else {
      card.Number(strData, IntAt(row, 0));
      card.vcNumbers.back().UseType = IntAt(row, 1);
    }
  });
  ForEachDetail(m_PostalAddress, nPersonId, [&](const CContent& row) {
    card.Address(TextAt(row, 6), TextAt(row, 1), TextAt(row, 5), TextAt(row, 2), TextAt(row, 3));
    card.vcAddresses.back().UseType = IntAt(row, 0);
    CtSvcCopyText(card.vcAddresses.back().szPostOfficeBoxNumber, TextAt(row, 4));
  });
  if (m_EtcData) {
    ForEachDetail(*m_EtcData, nPersonId, [&](const CContent& row) { card.Etc(IntAt(row, 1), TextAt(row, 0)); });
  }
}

std::string CCtSvcMassSyncJob::_PersonVCard(const CContent& person) {
  CCtSvcContactInfoBuilder card("", -1);
  _ReadPerson(person, card);
  VObject* pObject = CtSvcVCardBuildObject(card.Info(), CtSvcVCardForm::kFull);
  char* pszText = nullptr;
  const bool bEncoded = pObject != nullptr && VCardEncodeVersion(pObject, VCARD_VERSION_21, &pszText);
  std::string strText = bEncoded && pszText != nullptr ? pszText : "";
  VCardFreeObject(pObject);
  VCardFreeText(pszText);
  return strText;
}

// Reads up to a batch of persons into the text; false when the text cannot grow.
bool CCtSvcMassSyncJob::_ReadBatch(CCtSvcMassSyncText& text, int& nCount) {
  text.Clear();
  nCount = 0;
  CContent person;
  while (nCount < _BatchSize() && Db2StmtGetNextRow(m_Person.Get()) > 0) {
    CtSvcReadRow(m_Person.Get(), person);
    if (!text.Append(_PersonVCard(person))) {
      DbgPrint(DBG_CLASS_FAIL, "%s - text of %d bytes cannot grow\n", _LogName(), static_cast<int>(text.GetLength()));
      return false;
    }
    ++nCount;
  }
  return true;
}

void CCtSvcMassSyncJob::Run() {
  const int nStepPersons = m_nMaxRecords > 0 ? std::min(m_nMaxRecords, m_nPersonCount)
                                             : std::min(kUnlimitedStepPersons, m_nPersonCount);
  CCtSvcMassSyncText text(static_cast<size_t>(CTSVC_MASSSYNC_VCARD_SIZE) * static_cast<size_t>(nStepPersons));
  if (!text.Allocate()) {
    DbgPrint(DBG_CLASS_FAIL, "%s - AcMemAlloc(CTSVC_MASSSYNC_VCARD_SIZE*nMaxRecords(%d))  failed\n", _LogName(),
             m_nMaxRecords);
    m_pfnCallback(nullptr, 0, TRUE);
    return;
  }
  int nRead = 0;
  while (nRead < m_nPersonCount) {
    int nCount = 0;
    if (!_ReadBatch(text, nCount) || nCount == 0) {
      m_pfnCallback(nullptr, 0, TRUE);
      return;
    }
    nRead += nCount;
    DbgPrint(DBG_CLASS_TRACE, "%s - %d of %d persons\n", _LogName(), nRead, m_nPersonCount);
    m_pfnCallback(text.Get(), nCount, nRead >= m_nPersonCount ? TRUE : FALSE);
  }
}

}  // namespace

extern "C" BOOL CtSvcDbMassSyncReadRecords(INT32 nSyncType, INT32 nFormat, INT32 nMaxRecords,
                                           CtSvcDbMassSyncCallback pCallback) {
  if (nSyncType != CTSVC_MASSSYNC_TYPE_ALL && nSyncType != CTSVC_MASSSYNC_TYPE_CONTACT) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - INVALID nSyncType = %d\n", nSyncType);
    return FALSE;
  }
  if (nFormat != CTSVC_MASSSYNC_FORMAT_VCARD) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - INVALID nFormat = %d\n", nFormat);
    return FALSE;
  }
  if (nMaxRecords < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - INVALID nMaxRecords = %d\n", nMaxRecords);
    return FALSE;
  }
  if (pCallback == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - pCallback is NULL! \n");
    return FALSE;
  }
  auto pJob = std::make_unique<CCtSvcMassSyncJob>(nSyncType, nMaxRecords, pCallback);
  if (!pJob->IsPrepared()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - Db2StmtCreate failed\n");
    return FALSE;
  }
  const int nPersons = pJob->ExecutePersons();
  if (nPersons <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - Db2StmtExecute(__gctsvc_masssync_person) (%d) <= 0 \n",
             nPersons);
    return FALSE;
  }
  if (!CtSvcDbCiPostDeferred(std::move(pJob))) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbMassSyncReadRecords - posting to CTSVC failed\n");
    return FALSE;
  }
  return TRUE;
}
