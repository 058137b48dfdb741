/* Media services: the folder where a media file of a kind is saved, and file counts of folders.
 *
 * Save folders by the file's extension (case-insensitive):
 *   images  .jpg .jpeg .png .gif .bmp .wbmp .webp            -> "/User/Mass/Images"
 *   sounds  .mp3 .amr .wav .aac .m4a .mid .midi .ogg .imy .mmf -> "/User/Mass/Sounds"
 *   any other file, or one without an extension              -> "/User/Mass/Others"
 * Paths are platform paths, rooted in the data directory. */
#ifndef ZEL_MX_SVC_H
#define ZEL_MX_SVC_H

#include <ZelCore/ZelTypes.h>

#define MXSVC_FOLDER_IMAGES "/User/Mass/Images"
#define MXSVC_FOLDER_SOUNDS "/User/Mass/Sounds"
#define MXSVC_FOLDER_OTHERS "/User/Mass/Others"

ZEL_EXTERN_C_BEGIN

/* Writes the save folder for the file (a name or a path) into pszOut (nSize bytes); FALSE for a
 * null argument or an output too small for the folder. */
BOOL MxCfgSvcGetSavePathByFile(const char* pszFile, char* pszOut, int nSize);

/* Number of regular files directly in the folder; 0 when it does not exist, -1 for a null or
 * invalid path. */
int MxSvcFsGetContentsCntByPathForFullCheck(const char* pszFolder);

/* TRUE when a file or folder already exists at the path. */
BOOL MxSvcFsIsDuplicatedFile(const char* pszPath);

ZEL_EXTERN_C_END

#endif
