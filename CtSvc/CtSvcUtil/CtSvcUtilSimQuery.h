// The SIM questions the status helpers ask: one query kind on one file of the first PBR record
// (or the whole phonebook), answered through the SIM manager.
#ifndef CTSVC_UTIL_SIM_QUERY_H
#define CTSVC_UTIL_SIM_QUERY_H

enum class CtSvcSimQuery {
  TextLength,     // longest text a record holds
  RecordLength,   // bytes per record
  TotalCount,     // records over every PBR record
  TotalUsed,      // used records over every PBR record
  InUse,          // the file is present and valid
  Count,          // records of the file in a PBR record
  Used,           // used records of the file in a PBR record
  AnrFiles,       // ANR files in a PBR record
  Twenty,         // the constant 20
  SdnOrCphs,      // SDN service or CPHS information numbers offered
};

struct CtSvcSimQueryItem {
  CtSvcSimQuery query;
  int nSimFileID;
  int nSubIndex;
};

// The answer of one query on the given PBR record (TextLength and the totals ignore it).
int CtSvcAskSim(const CtSvcSimQueryItem& item, int nPbrIndex = 0);

// Whether the SIM answers status questions: a GSM or USIM card, not in no-SIM mode, and a loaded
// phonebook; logs why not under the caller's name when bLog.
bool CtSvcSimStatusReady(const char* pszCaller, bool bLog);

bool CtSvcSimIsNoSimMode();
bool CtSvcSimIsRemote();
// Whether the SDN service is offered, or the CPHS information numbers.
bool CtSvcSimOffersSdn();

#endif
