// ctsvc image set|show|thumb: a contact's caller image and its thumbnail.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Args.h"
#include "ContactInput.h"
#include "ContentFramework.h"
#include "CtSvcDbPerson.h"
#include "CtSvcImg.h"
#include "CtSvcModule.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelFm.h"

namespace ctsvc_tool {

namespace {

struct BitmapFree {
  void operator()(ImgBitmap* p) const { CtFreeThumbNailBitmap(p); }
};
using BitmapPtr = std::unique_ptr<ImgBitmap, BitmapFree>;

// The image file the user names, copied into the data directory for the service to read, and
// removed again at the end of the command.
class CImportedFile {
 public:
  CImportedFile() : m_strPath("/User/Ct/Import/ctsvc-image-" + std::to_string(getpid())) {}
  ~CImportedFile() { FmDeleteFile(m_strPath.c_str()); }
  CImportedFile(const CImportedFile&) = delete;
  CImportedFile& operator=(const CImportedFile&) = delete;

  // False (after printing why) when the file cannot be read or is larger than an image may be.
  bool Import(const std::string& strHostFile) {
    std::ifstream in(strHostFile, std::ios::binary);
    if (!in) {
      return Fail(kExitFailure, "cannot read " + strHostFile), false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff nSize = in.tellg();
    if (nSize < 0 || nSize > IMG_MAX_FILE_BYTES) {
      return Fail(kExitFailure, strHostFile + " is larger than an image may be (" +
                                    std::to_string(IMG_MAX_FILE_BYTES / (1024 * 1024)) + " MiB)"), false;
    }
    in.seekg(0);
    const std::vector<char> vcData((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const HOBJ hFile = FmCreateDir("/User/Ct/Import") ? FmCreateFile(m_strPath.c_str()) : INVALID_HOBJ;
    const bool bWritten = hFile != INVALID_HOBJ &&
                          FmWriteFile(hFile, vcData.data(), static_cast<UINT32>(vcData.size())) ==
                              static_cast<INT32>(vcData.size());
    if (hFile != INVALID_HOBJ) {
      FmCloseFile(hFile);
    }
    if (!bWritten) {
      return Fail(kExitFailure, "cannot copy " + strHostFile + " into the data directory"), false;
    }
    return true;
  }
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strPath;
};

int ReadId(const Args& args, int& nId) {
  if (!args.PositionalInt(1, nId) || nId <= 0) {
    return Fail(kExitUsage, "image " + args.Word(0) + " needs a contact id (a positive number)");
  }
  return kExitOk;
}

// Path, file size and image size of a person's caller image.
Json ImageView(const CtSvcPersonRecord& person) {
  Json view = Json::Object();
  view.Set("person", person.nId);
  view.Set("contact", person.Info.nPrimaryId);
  const std::string strPath = person.Info.szCallerImage;
  view.Set("path", strPath.empty() ? "(none)" : strPath);
  if (strPath.empty()) {
    return view;
  }
  const INT32 nBytes = FmGetFileSizeByPath(strPath.c_str());
  view.Set("file", nBytes >= 0 ? std::to_string(nBytes) + " bytes" : "none (thumbnail only)");
  ImgImageInfo info{};
  if (nBytes >= 0 && ImgGetImageInfo(strPath.c_str(), &info)) {
    view.Set("size", std::to_string(info.nWidth) + "x" + std::to_string(info.nHeight));
  }
  BitmapPtr pThumb(CtSvcImgLoadThumbnail(strPath.c_str()));
  view.Set("thumbnail", pThumb ? std::to_string(pThumb->nWidth) + "x" + std::to_string(pThumb->nHeight) : "none");
  return view;
}

int SetImage(const Options& options, const Args& args, int nId) {
  if (args.Word(2).empty()) {
    return Fail(kExitUsage, "image set needs an image file (JPEG or PNG)");
  }
  return WithService(options, [&]() {
    CImportedFile imported;  // inside the data directory the service has opened
    if (!imported.Import(args.Word(2))) {
      return kExitFailure;
    }
    CAppSvcMutexLock lock(CtSvcGetModuleMutex());  // the read and the rewrite of the person are one step
    CtSvcPersonRecord person{};
    const int nPersonId = PersonToUpdate(args, nId);
    if (nPersonId <= 0 || !CtSvcDbPersonGetRecordById(nPersonId, &person)) {
      return kExitFailure;
    }
    const std::string strOld = person.Info.szCallerImage;
    CtSvcContactInfo contact{};
    contact.pPersonInfo = &person.Info;
    PutText(person.Info.szCallerImage, imported.Path());
    if (!CtSvcRegisterImgtoLibrary(&contact)) {
      return Fail(kExitFailure, args.Word(2) + " is not an image the service can store (" + ImgGetLastError() +
                                    "): nothing was changed");
    }
    if (!CtSvcDbPersonUpdateRecord(CTSVC_MAKE_HANDLE(person.DevType, person.nId), person.Info.nPrimaryId,
                                   &person.Info)) {
      CtSvcImgDelete(person.Info.szCallerImage);
      return Fail(kExitFailure, "the person could not be updated: nothing was changed");
    }
    if (!strOld.empty() && strOld != person.Info.szCallerImage) {
      CtSvcImgDelete(strOld.c_str());  // the replaced image leaves the store
    }
    Print(ImageView(person), options.bJson);
    return kExitOk;
  });
}

int ShowImage(const Options& options, const Args& args, int nId, bool bThumb) {
  return WithService(options, [&]() {
    CtSvcPersonRecord person{};
    const int nPersonId = PersonToUpdate(args, nId);
    if (nPersonId <= 0 || !CtSvcDbPersonGetRecordById(nPersonId, &person)) {
      return kExitFailure;
    }
    if (!bThumb) {
      Print(ImageView(person), options.bJson);
      return kExitOk;
    }
    BitmapPtr pThumb(person.Info.szCallerImage[0] != '\0' ? CtSvcImgLoadThumbnail(person.Info.szCallerImage) : nullptr);
    if (!pThumb) {
      return Fail(kExitFailure, "person " + std::to_string(nPersonId) + " has no thumbnail");
    }
    Json view = Json::Object();
    view.Set("person", nPersonId);
    view.Set("path", person.Info.szCallerImage);
    view.Set("thumbnail", std::to_string(pThumb->nWidth) + "x" + std::to_string(pThumb->nHeight));
    view.Set("bits", pThumb->nBitsPerPixel);
    if (args.Has("out")) {
      UINT8* pData = nullptr;
      UINT32 nSize = 0;
      if (!ImgEncodeBitmap(pThumb.get(), IMG_FORMAT_PNG, 0, &pData, &nSize)) {
        return Fail(kExitFailure, "the thumbnail could not be encoded");
      }
      const std::unique_ptr<UINT8, void (*)(UINT8*)> data(pData, ImgFreeData);
      std::ofstream out(args.Get("out"), std::ios::binary | std::ios::trunc);
      if (!out.write(reinterpret_cast<const char*>(pData), nSize)) {
        return Fail(kExitFailure, "cannot write " + args.Get("out"));
      }
      view.Set("written", args.Get("out"));
    }
    Print(view, options.bJson);
    return kExitOk;
  });
}

}  // namespace

int RunImage(const Options& options, const Args& args) {
  const std::string strVerb = args.Word(0);
  int nId = 0;
  if (strVerb != "set" && strVerb != "show" && strVerb != "thumb") {
    return Fail(kExitUsage, "image needs set, show or thumb");
  }
  if (const int nExit = ReadId(args, nId); nExit != kExitOk) {
    return nExit;
  }
  if (strVerb == "set") {
    return SetImage(options, args, nId);
  }
  if (args.Word(2) != "") {
    return Fail(kExitUsage, "image " + strVerb + " takes one contact id");
  }
  return ShowImage(options, args, nId, strVerb == "thumb");
}

}  // namespace ctsvc_tool
