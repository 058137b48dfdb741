// What every bulk operation shares: a list of items processed from the front, a unit count (how
// many items one timer tick takes) that SIM operations keep fixed at 1, and the unit loop. An
// operation class is this template over its item type plus what one item and the end of a unit do.
#ifndef CTSVC_BULK_OP_BASE_H
#define CTSVC_BULK_OP_BASE_H

#include <deque>
#include <utility>

#include "CtSvcBulkOperation/ICtSvcBulkOperation.h"
#include "ZelDebug.h"

template <class Item>
class CCtSvcBulkOpBase : public ICtSvcBulkOperation {
 public:
  int GetRemainInputCount() const override { return static_cast<int>(m_Items.size()); }
  int GetOperationUnitCountAtOnce() const override { return m_nUnitCount; }
  void SetOperationUnitCountAtOnce(int nCount) override {
    if (m_pszFixedUnitReport != nullptr) {
      ZEL_NEVER_GET_HERE(m_pszFixedUnitReport);
      return;
    }
    if (nCount > 0) {
      m_nUnitCount = nCount;
    }
  }

  // One unit: up to the unit count of items from the front, each removed once processed; then the
  // unit's end (a commit). A failed item fails the unit; the items after it stay.
  BOOL OnBulkOperation() override {
    _BeginUnit();
    BOOL bResult = TRUE;
    for (int i = 0; i < m_nUnitCount && !m_Items.empty() && bResult; ++i) {
      Item item = std::move(m_Items.front());
      m_Items.pop_front();
      bResult = _ProcessItem(item);
    }
    return _EndUnit(bResult);
  }

 protected:
  // nUnitCount: the default unit; pszFixedUnitReport: the report of a refused unit change for an
  // operation whose unit is fixed (null: the unit can be set).
  explicit CCtSvcBulkOpBase(int nUnitCount, const char* pszFixedUnitReport = nullptr)
      : m_nUnitCount(nUnitCount), m_pszFixedUnitReport(pszFixedUnitReport) {}

  void _AddItem(Item item) { m_Items.push_back(std::move(item)); }
  const std::deque<Item>& _Items() const { return m_Items; }
  // For operations that finish an item later than they start it (a card write).
  Item& _Front() { return m_Items.front(); }
  void _PopFront() { m_Items.pop_front(); }
  virtual void _BeginUnit() {}
  virtual BOOL _ProcessItem(Item& item) = 0;
  virtual BOOL _EndUnit(BOOL bResult) { return bResult; }

 private:
  std::deque<Item> m_Items;
  int m_nUnitCount;
  const char* m_pszFixedUnitReport;
};

#endif
