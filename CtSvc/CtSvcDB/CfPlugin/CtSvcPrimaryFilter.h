// Filters of primary (merged) contacts: over the primary table, and over the primary table joined
// with the group-member table for the primaries of one group.
#ifndef CTSVC_PRIMARY_FILTER_H
#define CTSVC_PRIMARY_FILTER_H

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

// The primary filter's setters, shared by both classes.
#define CTSVC_PRIMARY_FILTER_SETTERS                                     \
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)                         \
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)                           \
  CTSVC_FILTER_INT_SETTER(FilterDetail, FilterDetail)                    \
  CTSVC_FILTER_TEXT_SETTER(CallerImage, szCallerImage)                   \
  CTSVC_FILTER_INT_SETTER(FavoriteType, FavoriteType)                    \
  CTSVC_FILTER_INT_SETTER(NameOrder, NameFilter.NameOrder)               \
  CTSVC_FILTER_TEXT_SETTER(DisplayName, NameFilter.szDisplayName)        \
  CTSVC_FILTER_INT_SETTER(NameTruncation, NameFilter.NameTruncation)     \
  CTSVC_FILTER_INT_SETTER(LinkCountEqual, nLinkCountEqual)               \
  CTSVC_FILTER_INT_SETTER(LinkCountMore, nLinkCountMore)                 \
  CTSVC_FILTER_INT_SETTER(LinkCountLess, nLinkCountLess)                 \
  CTSVC_FILTER_INT_SETTER(FilterIndexType, FilterIndexType)              \
  CTSVC_FILTER_INT_SETTER(GroupId, nGroupId)                             \
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)       \
  CTSVC_FILTER_INT_SETTER(FavoriteOrder, bFavoriteOrder)                 \
  CTSVC_FILTER_INT_SETTER(ExceptPrimaryId, nExceptPrimaryId)

class CCtSvcPrimaryFilter : public CCtSvcTableFilter<CCtSvcPrimaryFilter, CtSvcPrimaryFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcPrimaryFilter::BuildContentFilter Where == %s\n";
  CTSVC_PRIMARY_FILTER_SETTERS

  BOOL BuildContentFilter() override;

 private:
  void _AddNameConditions(CCtSvcFilterConditions& conditions) const;
  void _AddLinkCountConditions(CCtSvcFilterConditions& conditions) const;
};

// Uses DevType, FilterDetail, FilterIndexType and nGroupId (which must be > 0) of the structure.
class CCtSvcPrimaryGroupMemberFilter
    : public CCtSvcTableFilter<CCtSvcPrimaryGroupMemberFilter, CtSvcPrimaryFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcPrimaryGroupMemberFilter::BuildContentFilter Where == %s\n";
  CTSVC_PRIMARY_FILTER_SETTERS

  BOOL BuildContentFilter() override;
};

#endif
