// The interface every record object of the contact store offers: write itself as a new row or
// over an existing one, and convert between itself and the content framework's row forms.
#ifndef I_CTSVC_RECORD_H
#define I_CTSVC_RECORD_H

class CContent;
class CContentInput;

class ICtSvcRecord {
 public:
  virtual ~ICtSvcRecord() = default;
  // The new row id, or -1. bCommit 0 leaves the write for a later commit.
  virtual int Insert(int bCommit) = 0;
  // 1 when row nId was updated, else 0.
  virtual int Update(int nId, int bCommit) = 0;
  // Fills the record from a result row; 1 on success.
  virtual int SetData(const CContent& content) = 0;
  // Writes the record's columns; 1 on success.
  virtual int GetData(CContentInput& input) const = 0;
};

#endif
