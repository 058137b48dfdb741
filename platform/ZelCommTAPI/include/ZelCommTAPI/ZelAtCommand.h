// The AT command line of the telephony library: what an external device connected to the phone
// types, and the TS 27.007 answers it gets back. Phonebook commands are served by a phonebook
// behind IAtPhonebook (the contact service, through the AT indications, in the phone; a table in
// tests); everything else is answered here.
//
// Commands: AT, ATE0/ATE1, AT+CMEE, AT+CGMI/CGMM/CGMR/CGSN, AT+CSCS, AT+CFUN, AT+CPBS, AT+CPBR,
// AT+CPBF, AT+CPBW, AT+CNUM; several extended commands may share a line, separated by ';'.
// Anything else answers ERROR. Every answer is "\r\n<line>\r\n" for its information lines and
// "\r\nOK\r\n", "\r\nERROR\r\n" or "\r\n+CME ERROR: <n>\r\n" (with AT+CMEE=1; a text with
// AT+CMEE=2) as final result.
//
// The command line is separate from any I/O: AtFeed takes the received bytes and gives back what
// the phone sends, keeping what it needs between calls in an AtSession.
#ifndef ZEL_AT_COMMAND_H
#define ZEL_AT_COMMAND_H

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "ZelTapiAt.h"

namespace zel::at {

// Character set of the texts (AT+CSCS): names in +CPBR, +CPBF and +CNUM answers and the +CPBF
// search text. UCS2 is 4 hex digits per UTF-16 unit; GSM the 7-bit default alphabet, one byte
// per septet; IRA 7-bit ASCII. Characters a set cannot show become '?'.
enum class Charset { Gsm, Ucs2, Utf8, Ira };

// The phonebook memory AT+CPBS selects.
enum class Memory { Phone, Sim, Fdn, OwnNumbers };

// Longest command line taken; a longer one is answered ERROR.
constexpr size_t kMaxLineBytes = 1024;

// One entry of a phonebook answer (texts UTF-8).
struct AtEntry {
  int nIndex = 0;
  std::string strNumber;
  std::string strText;
};

// Result of a phonebook request: a TAPI_AT_PB_... code, or kAtNoAnswer when the phonebook did not
// answer at all.
constexpr int kAtNoAnswer = -1;

class IAtPhonebook {
 public:
  virtual ~IAtPhonebook() = default;
  virtual int QueryStatus(int nDevice, TapiAtPbStatus* pStatus) = 0;
  // The indexes of existing entries from nFrom to nTo.
  virtual int Read(int nDevice, int nFrom, int nTo, std::vector<int>* pIndexes) = 0;
  virtual int Records(int nDevice, const std::vector<int>& vcIndexes, std::vector<AtEntry>* pEntries) = 0;
  virtual int Find(int nDevice, const std::string& strText, std::vector<AtEntry>* pEntries) = 0;
  virtual int Write(const TapiAtPbWriteReq& request) = 0;
  // The own numbers, numbered from 1.
  virtual int OwnNumbers(std::vector<AtEntry>* pEntries) = 0;
};

// What AT+CGMI, +CGMM, +CGMR and +CGSN answer.
struct AtIdentity {
  std::string strManufacturer = "Zel";
  std::string strModel = "ZelCtSvc";
  std::string strRevision = "1.0";
  std::string strSerial = "000000000000000";
};

// The state of one connection.
struct AtSession {
  AtIdentity identity;
  bool bEcho = true;
  int nCmee = 0;
  Charset charset = Charset::Ira;
  Memory memory = Memory::Phone;
  int nCfun = 1;
  std::string strLine;   // the line being received
  bool bOverlong = false;  // it grew beyond kMaxLineBytes: the rest up to CR is dropped
};

// Takes received bytes; answers what the phone sends back: the echo (with ATE1) and the answers of
// every line a CR completed. LF is ignored; an empty line gets no answer.
std::string AtFeed(AtSession& session, IAtPhonebook& phonebook, const char* pBytes, size_t nBytes);

// The phonebook behind the telephony library's AT indications: each request is raised for the
// client TAPI_CLIENT_AT and answered by its TapiAT...Rsp call (a zero result, or no client, is
// kAtNoAnswer). It sets itself as the response sink while it lives; one at a time.
class CTapiAtPhonebook : public IAtPhonebook {
 public:
  CTapiAtPhonebook();
  ~CTapiAtPhonebook() override;
  CTapiAtPhonebook(const CTapiAtPhonebook&) = delete;
  CTapiAtPhonebook& operator=(const CTapiAtPhonebook&) = delete;

  int QueryStatus(int nDevice, TapiAtPbStatus* pStatus) override;
  int Read(int nDevice, int nFrom, int nTo, std::vector<int>* pIndexes) override;
  int Records(int nDevice, const std::vector<int>& vcIndexes, std::vector<AtEntry>* pEntries) override;
  int Find(int nDevice, const std::string& strText, std::vector<AtEntry>* pEntries) override;
  int Write(const TapiAtPbWriteReq& request) override;
  int OwnNumbers(std::vector<AtEntry>* pEntries) override;

 private:
  // A response as received: nError kAtNoAnswer until one came.
  struct Answer {
    int nError = kAtNoAnswer;
    TapiAtPbStatus status{};
    std::vector<int> vcIndexes;
    std::vector<AtEntry> vcEntries;
  };
  // Raises the indication and waits until the client's handler has handled it.
  Answer _Ask(INT32 nEventType, INT32 nParam1, INT32 nParam2, void* pData);
  static void _OnResponse(const TapiAtResponse* pResponse, void* pUserData);

  std::mutex m_mutex;
  INT32 m_nAwaited = 0;  // the indication whose response is taken
  Answer m_answer;
};

}  // namespace zel::at

#endif
