// The text buffer of a mass-sync batch: platform memory of a fixed step plus one byte, enlarged
// by the same step whenever the text outgrows it.
#ifndef CTSVC_DB_MASS_SYNC_TEXT_H
#define CTSVC_DB_MASS_SYNC_TEXT_H

#include <cstddef>
#include <string>

class CCtSvcMassSyncText {
 public:
  explicit CCtSvcMassSyncText(size_t nStep) : m_nStep(nStep) {}
  ~CCtSvcMassSyncText();
  CCtSvcMassSyncText(const CCtSvcMassSyncText&) = delete;
  CCtSvcMassSyncText& operator=(const CCtSvcMassSyncText&) = delete;

  // Allocates the first step; false when the memory cannot be had.
  bool Allocate();
  // Appends the text, enlarging the buffer as needed; false (text unchanged) when it cannot grow
  // or was never allocated.
  bool Append(const std::string& strText);
  void Clear();
  const char* Get() const { return m_pText; }
  size_t GetLength() const { return m_nLength; }
  size_t GetCapacity() const { return m_nCapacity; }

 private:
  size_t m_nStep;
  char* m_pText = nullptr;
  size_t m_nLength = 0;
  size_t m_nCapacity = 0;  // bytes of text the buffer holds, without the terminator
};

#endif
