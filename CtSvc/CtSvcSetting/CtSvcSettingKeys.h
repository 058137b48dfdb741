// Names of the settings files, sections and keys shared by the settings sources.
#ifndef CTSVC_SETTING_KEYS_H
#define CTSVC_SETTING_KEYS_H

inline constexpr char kSettingsFile[] = "CtSet.ini";
inline constexpr char kSectionOne[] = "sectionOne";
inline constexpr char kKeyItemStorage[] = "item_storage";
inline constexpr char kKeyViewStorage[] = "view_storage";
inline constexpr char kKeyViewSort[] = "view_sort";
inline constexpr char kKeyItemSort[] = "item_sort";
inline constexpr char kKeyCliDigits[] = "CLIDigits";
inline constexpr char kKeyPreInstCount[] = "PreInstCount";
inline constexpr char kKeyPreInstName[] = "PreInstTelName%d";
inline constexpr char kKeyPreInstNumber[] = "PreInstTelNum%d";

// Pre-installed contact texts, terminator included.
inline constexpr int kPreInstNameSize = 151;
inline constexpr int kPreInstNumberSize = 51;

#endif
