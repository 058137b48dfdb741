// Connects the SIM C API's phonebook hooks to the phonebook manager.
#ifndef CTSVC_PHONEBOOK_SIM_SEAM_H
#define CTSVC_PHONEBOOK_SIM_SEAM_H

void CtSvcPhonebookInstallSimSeam();

#endif
