// SetPerson of the details without columns of their own to compute: each takes the fields its
// column map marks with a person role.
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"

void CCtSvcPostalAddress::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcEtcData::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcGroupMember::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcSpeedDial::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcIM::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcSnsData::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
void CCtSvcRcs::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }
