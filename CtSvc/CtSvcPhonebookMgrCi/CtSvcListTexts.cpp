// Texts of the list families, assembled from each family's names.
#include "CtSvcPhonebookMgrCi/CtSvcListTexts.h"

CCtSvcListTexts::CCtSvcListTexts(const CtSvcListNames& names) : m_Names(names) {
  const std::string strHandle = names.szHandle;
  m_strRange = strHandle + " >= 0 && " + strHandle + " < " + names.szMax;
  m_strOpen = std::string(names.szTable) + "[" + strHandle + "]";
  m_strPosition = "nPos >= 0 && nPos < " + m_strOpen + "->GetCount()";
}

std::string CCtSvcListTexts::_Head(const char* szFunction) const {
  return std::string(m_Names.szPrefix) + szFunction + " - ";
}

std::string CCtSvcListTexts::_Value(int nHandle) const {
  return std::string(m_Names.szHandle) + " = " + std::to_string(nHandle);
}

std::string CCtSvcListTexts::Created() const { return _Head("Create") + m_Names.szOpener + " success\n"; }

std::string CCtSvcListTexts::CreateFailed() const { return _Head("Create") + m_Names.szOpener + " failed\n"; }

std::string CCtSvcListTexts::NoFreeSlot() const {
  return _Head("Create") + "no free slot in " + m_Names.szTable + "\n";
}

std::string CCtSvcListTexts::ObserverRegistered() const { return _Head("Create") + "observer registered\n"; }

std::string CCtSvcListTexts::Destroyed() const { return _Head("Destroy") + "Destroy ContentList success\n"; }

std::string CCtSvcListTexts::GetAtStart() const { return std::string(m_Names.szPrefix) + "GetAt Func START\n"; }

std::string CCtSvcListTexts::GetAtFinish() const { return std::string(m_Names.szPrefix) + "GetAt Func FINISH\n"; }

std::string CCtSvcListTexts::GetAtReadFailed(int nHandle, int nIndex) const {
  return std::string(m_Names.szGetAt) + " - " + m_strOpen + "->GetAt failed(" + _Value(nHandle) +
         ", index = " + std::to_string(nIndex) + "\n";
}

std::string CCtSvcListTexts::GetAtLoadFailed(int nHandle, int nIndex) const {
  return std::string(m_Names.szGetAt) + " - " + m_Names.szRecord + ".SetData failed(" + _Value(nHandle) +
         ", index = " + std::to_string(nIndex) + "\n";
}

std::string CCtSvcListTexts::IteratorMissing(const char* szFunction, int nHandle) const {
  return _Head(szFunction) + m_strOpen + "->GetIterator failed(" + _Value(nHandle) + "\n";
}

std::string CCtSvcListTexts::IteratorMissingHGroup(const char* szFunction, int nHandle) const {
  return _Head(szFunction) + m_strOpen + "->GetIterator failed(HGROUP = " + std::to_string(nHandle) + "\n";
}

// Positioning is reported under GetCurrent, the function it prepares.
std::string CCtSvcListTexts::MoveFailed(int nHandle) const {
  return _Head("GetCurrent") + m_Names.szTable + "[pIterator->MoveTo failed(" + _Value(nHandle) + "\n";
}

std::string CCtSvcListTexts::CurrentReadFailed(int nHandle) const {
  return _Head("GetCurrent") + "pIterator->GetCurrent failed(" + _Value(nHandle) + "\n";
}

std::string CCtSvcListTexts::StepReadFailed(const char* szFunction, int nHandle) const {
  return _Head(szFunction) + "pIterator->" + szFunction + " failed(HGROUP = " + std::to_string(nHandle) + "\n";
}

std::string CCtSvcListTexts::CursorLoadFailed(const char* szFunction, int nHandle) const {
  return _Head(szFunction) + m_Names.szRecord + ".SetData failed(" + _Value(nHandle) + "\n";
}
