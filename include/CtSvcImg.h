/* Caller images and thumbnails of contacts.
 *
 * A caller image is a JPEG file; its 70 x 70 thumbnail lives in the thumbnail store of the
 * account the image path belongs to ("/User/Mass/Ct/<account>/thumbdb.tdb"; paths elsewhere
 * belong to account 0). Bitmaps handed out are freed with CtFreeThumbNailBitmap. */
#ifndef CTSVC_IMG_H
#define CTSVC_IMG_H

#include "CtSvcRecord.h"
#include "CtSvcTypes.h"
#include "ZelImgSvc/ZelImgSvc.h"

#define CTSVC_IMG_THUMBNAIL_SIZE 70      /* thumbnails in lists */
#define CTSVC_IMG_CALLER_IMAGE_SIZE 172  /* caller images stored from a bitmap */
#define CTSVC_IMG_MOTION_DIAL_SIZE 137   /* thumbnails of motion-dial entries */
#define CTSVC_IMG_JPEG_QUALITY 90
/* Saves are refused unless more than this many bytes stay free under "/User/Mass". */
#define CTSVC_IMG_MIN_AVAILABLE_SIZE 307200

ZEL_EXTERN_C_BEGIN

/* Stores a bitmap as the caller image at the (absolute) path: its thumbnail, and a 172 x 172
 * JPEG (quality 90) of its centre square. */
BOOL CtSvcImgSave(const char* pszImgPath, const ImgBitmap* pBitmap);
/* Stores the image file at pszSrcPath (JPEG or PNG) as the caller image at pszImgPath: an
 * upright JPEG is copied as it is, anything else is stored as by CtSvcImgSave. Nothing is stored
 * when the source is not a readable image. */
BOOL CtSvcImgSaveEx(const char* pszImgPath, const char* pszSrcPath);
/* Stores the thumbnail of the image file already at the path. */
BOOL CtSvcImgSaveThumbnail(const char* pszImgPath);
/* Stores the thumbnail of a bitmap under the path (no file is written). */
BOOL CtSvcImgSaveThumbnailFromBitmap(const char* pszImgPath, const ImgBitmap* pBitmap);
/* The stored thumbnail (16 bits per pixel), or null. */
ImgBitmap* CtSvcImgLoadThumbnail(const char* pszImgPath);
/* The stored thumbnail when there is one, else the file at its own size; null on failure. */
ImgBitmap* CtSvcImgLoad(const char* pszImgPath);
/* Removes the thumbnail, and the file when it lies under "/User/Mass/Ct/". */
BOOL CtSvcImgDelete(const char* pszImgPath);
/* TRUE when the path is not absolute or no file is at it: the image exists only as a thumbnail. */
BOOL CtSvcImgIsThumbDbPath(const char* pszImgPath);
/* Closes the account's thumbnail store and removes its folder with every image. */
BOOL CtSvcImgDeleteAccount(INT32 nAccountId);
/* Writes "/User/Mass/Ct/<account>/Images/<file name>"; FALSE when it does not fit. */
BOOL CtSvcImgMakeCallerIdPath(INT32 nAccountId, const char* pszFileName, char* pszOutputCallerIdPath,
                              INT32 nBufferLength);
/* Copies the contact's caller image into the store of its account ("phone<time>.jpg") and points
 * the contact at the copy; the contact is unchanged when the copy fails. */
BOOL CtSvcRegisterImgtoLibrary(CtSvcContactInfo* pContactInfo);

/* Asks the social-network photo service for the friend's profile photo; when it arrives it
 * becomes the caller image of the person whose social-network data carries the people id. */
BOOL CtSvcSnsImageRequest(const char* pszPeopleId);

/* Legacy per-contact thumbnail file "/User/Ct/Tmb/<id>.jpeg". */
BOOL CtSetThumbNailBitmap(INT32 nId, const ImgBitmap* pBitmap);
ImgBitmap* CtGetThumbNailBitmap(INT32 nId); /* always null */
BOOL CtRemoveThumbNailFile(INT32 nId);      /* always TRUE */
/* The caller image at nWidth x nHeight (centre square), from its file or its thumbnail; null
 * without image. Motion-dial entries use CTSVC_IMG_MOTION_DIAL_SIZE. */
ImgBitmap* CtSvcGetThumbNailBitmap(const char* pszCallerImage, INT32 nWidth, INT32 nHeight);
void CtFreeThumbNailBitmap(ImgBitmap* pBitmap);

ZEL_EXTERN_C_END

#endif
