/* The platform account service: the ordered list of the accounts the user has added to the phone
 * (social networks, mail, synchronisation accounts) and notifications of their removal and change.
 *
 * The list lives in memory and is kept in "accounts.ini" of the data directory; it is read again
 * when the data directory changes.
 *
 * Notifications. A registration remembers the event handler current on the registering thread
 * (WmGetCurrentEventHandler). A notification for it is then delivered asynchronously on that
 * handler's thread, as the event MYACCOUNTSVC_EVENT_NOTIFY: the handler's event map must route
 * that event to MyAccountSvcHandleEvent. A registration made where no handler is current is
 * notified synchronously, on the thread that removed or updated the account. A notification whose
 * handler no longer exists is dropped with a log line. The account given to a callback is a copy
 * valid for the duration of the call. */
#ifndef MY_ACCOUNT_SVC_H
#define MY_ACCOUNT_SVC_H

#include <ZelCore/ZelTypes.h>
#include <ZelCore/ZelWm.h>

/* Kinds of account. */
#define MYACCOUNT_KIND_SNS 5 /* a social network */

/* Flags of an account. */
#define MYACCOUNT_FLAG_CONTACT_SYNC 0x2u /* the account's contacts are synchronised to the phone */

#define MYACCOUNT_NAME_MAX 64 /* bytes of a name, terminator included */

/* The private event that carries a notification to the registering handler. */
#define MYACCOUNTSVC_EVENT_NOTIFY 0x2A0u

typedef struct MyAccount {
  INT32 nOrder; /* the account's id, unique and positive */
  INT32 nKind;
  UINT32 nFlags;
  char szName[MYACCOUNT_NAME_MAX];
} MyAccount;

typedef void (*MyAccountNotifyProc)(const MyAccount* pAccount);

ZEL_EXTERN_C_BEGIN

/* Registers a pair of callbacks (either may be null, not both). Registering the same pair again
 * replaces its handler by the one current now. FALSE when both are null. */
BOOL MyAccountSvcRegisterNotification(MyAccountNotifyProc pfnOnRemoved, MyAccountNotifyProc pfnOnUpdated);
/* FALSE when the pair was not registered. */
BOOL MyAccountSvcUnregisterNotification(MyAccountNotifyProc pfnOnRemoved, MyAccountNotifyProc pfnOnUpdated);

/* The event proc for MYACCOUNTSVC_EVENT_NOTIFY in a handler's event map: runs the callback the
 * event stands for. 1 when a callback ran, else 0. */
int MyAccountSvcHandleEvent(WmEHState* pState, WmEvent* pEvent);

/* Number of accounts, -1 when the list cannot be read. */
int MyAccountSvcGetCount(void);
/* The account at a position of the list (0 first). */
BOOL MyAccountSvcGetAt(int nIndex, MyAccount* pAccount);
/* Copies up to nMax accounts in list order; the number copied, -1 for bad arguments. */
int MyAccountSvcGetList(MyAccount* pAccounts, int nMax);
BOOL MyAccountSvcGetAccountById(INT32 nOrder, MyAccount* pAccount);
/* The position of an account in the list, -1 when it is not there. */
int MyAccountSvcGetIndexById(INT32 nOrder);

/* Appends an account. FALSE for a non-positive or taken id or a name without a terminator
 * within MYACCOUNT_NAME_MAX bytes. */
BOOL MyAccountSvcAddAccount(const MyAccount* pAccount);
/* Removes an account and notifies the removed callbacks. */
BOOL MyAccountSvcRemoveAccount(INT32 nOrder);
/* Replaces the account of the same id (kind, flags, name) and notifies the updated callbacks. */
BOOL MyAccountSvcUpdateAccount(const MyAccount* pAccount);

ZEL_EXTERN_C_END

#endif
