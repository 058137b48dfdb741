// Lines of a vCard text: physical lines from a byte source (any line end), joined into logical
// lines (folding, quoted-printable soft breaks, unindented base64, 2.1 backslash continuations),
// every line bounded in memory.
#ifndef ZEL_VCARD_LINE_READER_H
#define ZEL_VCARD_LINE_READER_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace zel_vcard {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte, or -1 at the end.
  virtual int Get() = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const char* pText, size_t nLength) : m_pText(pText), m_nLength(nLength) {}
  int Get() override { return m_nPos < m_nLength ? static_cast<unsigned char>(m_pText[m_nPos++]) : -1; }

 private:
  const char* m_pText;
  size_t m_nLength;
  size_t m_nPos = 0;
};

// A file read through a fixed buffer.
class FileSource : public ByteSource {
 public:
  explicit FileSource(FILE* pFile) : m_pFile(pFile) {}
  int Get() override;
  bool HasError() const { return m_bError; }
  uint64_t Position() const { return m_nConsumed; }

 private:
  FILE* m_pFile;
  char m_szBuffer[64 * 1024];
  size_t m_nFill = 0;
  size_t m_nPos = 0;
  uint64_t m_nConsumed = 0;
  bool m_bError = false;
};

struct LogicalLine {
  std::string strText;
  int nLine = 0;           // line number of its first physical line
  bool bOversized = false; // longer than the bound: strText holds only its start
};

class LineReader {
 public:
  LineReader(ByteSource& source, size_t nMaxLine) : m_source(source), m_nMaxLine(nMaxLine) {}
  // The next logical line that is not blank or a comment; false at the end.
  bool Next(LogicalLine& line);

 private:
  struct Physical {
    std::string strText;
    int nLine = 0;
    bool bOversized = false;
  };
  bool _ReadPhysical(Physical& line);
  bool _Peek(Physical*& pLine);
  void _Append(LogicalLine& line, const std::string& strPart);

  ByteSource& m_source;
  size_t m_nMaxLine;
  int m_nLineNumber = 0;
  int m_nPushedBack = -2;  // a byte read past a bare CR
  Physical m_next;
  bool m_bHaveNext = false;
};

}  // namespace zel_vcard

#endif
