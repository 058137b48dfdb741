// The command table of ctsvc: names, usage, options and what each does with the store.
#include "CtsvcTool.h"

namespace ctsvc_tool {

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"init", "", "open or create the store; show its schema version and tables", "", "", "", 0, 0,
       StoreUse::kCreates, &RunInit},
      {"demo", "", "the main job: load the service and show what it does", "", "", "", 0, 0, StoreUse::kCreates,
       &RunDemo},
      {"gen", "N [--seed S]", "store N generated contacts (Latin and Hangul names, numbers, e-mails, groups)",
       "  N                 contacts to store, 0..1000000\n"
       "  --seed S          the generator's seed (default: a new one each run, printed)\n",
       "", "seed", 1, 1, StoreUse::kCreates, &RunGen},
      {"add", "[--first F] [--last L] [--number N]...", "store a contact",
       "  --first F, --last L   the names\n"
       "  --number N        a phone number (repeatable)\n"
       "  --email E         an e-mail address (repeatable)\n"
       "  --address S|C|ST|CO|PC  street, city, state, country, postal code (repeatable)\n"
       "  --birthday YYYY-MM-DD\n"
       "  --group ID        join an existing group (repeatable)\n"
       "  --account N       the account the contact comes from\n"
       "  --sim             a SIM contact: stored and written to the data directory's card (the phonebook is\n"
       "                    started on the card first); the card's answer is reported\n"
       "  --trace           print the change callbacks the command caused (on stderr)\n"
       "A text longer than the store keeps is cut, with a warning naming the field.\n",
       "sim trace", "first last number email address birthday group account", 0, 0, StoreUse::kCreates, &RunAdd},
      {"update", "ID [--person] [--first F] ...", "change a contact's names, numbers, e-mails or birthday",
       "  ID                a contact (or, with --person, a person) id\n"
       "  --first F, --last L   new names (\"\" clears one)\n"
       "  --number N        the numbers become the ones given (repeatable)\n"
       "  --email E         the e-mails become the ones given (repeatable)\n"
       "  --birthday YYYY-MM-DD  (\"\" clears it)\n"
       "  --sim             the person must be a SIM contact (a SIM person is always written to the card too)\n"
       "  --trace           print the change callbacks the command caused (on stderr)\n"
       "A contact linked from several persons needs --person.\n",
       "person sim trace", "first last number email birthday", 1, 1, StoreUse::kExisting, &RunUpdate},
      {"show", "ID [--person]", "a contact with its persons and details (or one person)",
       "  --person          ID is a person id\n", "person", "", 1, 1,
       StoreUse::kExisting, &RunShow},
      {"list", "[--persons] [--order fl|lf] [--limit N] [--offset N]", "contacts (or persons) in name order",
       "  --persons         persons instead of contacts\n"
       "  --order fl|lf     first-last (default) or last-first name order\n"
       "  --limit N, --offset N  the rows shown (default: the first 50)\n",
       "persons", "order limit offset", 0, 0, StoreUse::kExisting, &RunList},
      {"favorites", "", "the favourite contacts in their order", "", "", "", 0, 0, StoreUse::kExisting,
       &RunFavorites},
      {"delete", "ID [--person]", "delete a contact with its persons (or one person)",
       "  --person          delete only the person with id ID\n"
       "  --trace           print the change callbacks the command caused (on stderr)\n"
       "SIM persons are erased from the data directory's card too; speed-dial keys of deleted numbers are freed.\n",
       "person trace", "", 1, 1,
       StoreUse::kExisting, &RunDelete},
      {"link", "A B", "merge contact B into contact A", "  A, B              contact ids ('ctsvc list')\n", "", "", 2, 2, StoreUse::kExisting, &RunLink},
      {"unlink", "A PERSON [--keep]", "give every other person of contact A its own contact again",
       "  --keep            rearrange contact A only, without splitting it\n", "keep", "", 2, 2,
       StoreUse::kExisting, &RunUnlink},
      {"favorite", "ID [--off|--order N]", "make a contact a favourite (or not; or set its order)",
       "  --off             no longer a favourite\n  --order N         its place among the favourites\n", "off",
       "order", 1, 1, StoreUse::kExisting, &RunFavorite},
      {"group", "list|add NAME|delete ID|add-member G C|remove-member G C", "groups and their members",
       "  list                      groups with their member counts\n"
       "  add NAME                  a new group (names are unique)\n"
       "  delete ID                 delete a group (its members stay)\n"
       "  add-member GROUP CONTACT  the contact's persons join the group\n"
       "  remove-member GROUP CONTACT\n",
       "", "", 1, 3, StoreUse::kExisting, &RunGroup},
      {"speeddial", "set S NUM|list|clear S", "speed-dial keys 1..29",
       "  NUM is a phone-number id from 'ctsvc show'\n", "", "", 1, 3, StoreUse::kExisting, &RunSpeedDial},
      {"search", "[TEXT] [--number N] [--email E] ...", "contacts by name, number or e-mail",
       "  TEXT              every word must begin a word of the name\n"
       "  --number N        contacts with a number containing N\n"
       "  --email E         contacts with an e-mail address containing E\n"
       "  --device 1|2      phone or SIM contacts only\n"
       "  --group ID, --favorite, --has-number, --has-email, --local   narrow a name search\n"
       "  --limit N         contacts shown (default 20)\n",
       "favorite has-number has-email local", "number email device group limit", 0, 1, StoreUse::kExisting,
       &RunSearch},
      {"letters", "[--persons] [--order fl|lf] [--async]", "index letters of the list with their counts",
       "  --persons         the letters of the person list\n"
       "  --order fl|lf     first-last (default) or last-first name order\n"
       "  --async           letters only, from the background task\n",
       "persons async", "order", 0, 0, StoreUse::kExisting, &RunLetters},
      {"image", "set ID FILE | show ID | thumb ID [--out FILE.png]", "a contact's caller image and its thumbnail",
       "  set ID FILE       store a JPEG or PNG file as the contact's caller image (a camera photo is\n"
       "                    turned as it was held); the image it replaces leaves the store\n"
       "  show ID           the caller image's path, file size, image size and thumbnail\n"
       "  thumb ID          the 70 x 70 thumbnail; --out FILE.png writes it as a PNG\n"
       "  --person          ID is a person id (needed for a contact linked from several persons)\n",
       "person", "out", 2, 3, StoreUse::kExisting, &RunImage},
      {"delete-account", "ID [--sim]", "remove every contact of an account, in the background, and wait for it",
       "  --sim             the account's SIM contacts\n", "sim", "", 1, 1, StoreUse::kExisting,
       &RunDeleteAccount},
      {"watch", "[--count N] [--seconds S]", "print the changes other processes make to the store",
       "  --count N         stop after N changes\n  --seconds S       stop after S seconds\n", "",
       "count seconds", 0, 0, StoreUse::kNone, &RunWatch},
      {"boot", "", "start the phonebook on the data directory's card as the phone does; show what it copied or kept",
       "A new card, or a card whose phonebook files changed since the last boot, is copied into the store\n"
       "(SIM contacts with numbers, e-mails, second names and groups; SIM groups; FDN); the same card with\n"
       "the same content is only read. Without a card (no sim/card.json) the SIM contacts are removed.\n",
       "", "", 0, 0, StoreUse::kCreates, &RunBoot},
      {"import", "FILE.vcf", "store the contacts of a vCard file (2.1 or 3.0, any number of cards)",
       "  FILE.vcf          the file; read card by card, stored in batches\n"
       "Prints the imported, merged (joined to a stored contact) and skipped counts; a skipped card\n"
       "or a left-out property is named by its line.\n",
       "", "", 1, 1, StoreUse::kCreates, &RunImport},
      {"export", "[IDS] [--v30] [-o FILE]", "contacts as vCards (standard output by default)",
       "  IDS               contact ids ('ctsvc list'); none: every contact\n"
       "  --v30             vCard 3.0 instead of 2.1\n"
       "  -o FILE, --output FILE  write the cards to FILE\n",
       "v30", "output", 0, 1000000, StoreUse::kExisting, &RunExport},
      {"backup", "FILE", "every person as chained vCards in FILE", "", "", "", 1, 1, StoreUse::kExisting, &RunBackup},
      {"restore", "FILE", "store the persons of a backup file", "", "", "", 1, 1, StoreUse::kCreates, &RunRestore},
      {"sim", "make-card --gsm|--usim [--empty] FILE | dump | status | list [KIND] | set INDEX | delete INDEX | insert-card FILE | remove-card",
       "the simulated SIM card: write a sample card file; show the data directory's card; read and write its contacts",
       "  make-card FILE    write a sample card (--gsm or --usim; --empty: no contacts) to FILE\n"
       "  dump              every phonebook file of the data directory's card (sim/card.json), decoded\n"
       "  status            card type, used/total records of each file, free slots, text and number lengths\n"
       "  list [KIND]       the records of adn (default), fdn, sdn, msisdn, gas or aas\n"
       "  set INDEX         write contact INDEX (1-based): --name N --number X [--email E] [--anr X] [--group G]\n"
       "  delete INDEX      erase contact INDEX\n"
       "  insert-card FILE  copy a card file into the data directory (sim/card.json)\n"
       "  remove-card       take the card out of the data directory\n",
       "gsm usim empty", "name number email anr group", 1, 2, StoreUse::kCreates, &RunSim},
      {"bulk", "copy|move sim-to-phone|phone-to-sim [IDS|--all] | delete IDS",
       "copy, move or delete many contacts as one background run with a progress bar",
       "  copy sim-to-phone  SIM contacts become phone contacts (IDS: card record numbers, 'ctsvc sim list')\n"
       "  copy phone-to-sim  phone contacts are written to free card records (IDS: contact ids, 'ctsvc list')\n"
       "  move ...           the same, and the originals are deleted once copied\n"
       "  delete IDS         the phone persons of the contacts\n"
       "  --all              every contact of the source store\n"
       "Ctrl-C pauses and shows how far the run got; Enter (on a terminal) or SIGUSR1 continues;\n"
       "a second Ctrl-C while paused stops. The summary counts the contacts done; exit 1 when not all were.\n"
       "A card write that fails stops the run; that contact stays as it was.\n",
       "all", "", 1, 1000000, StoreUse::kExisting, &RunBulk},
      {"settings", "get KEY | set KEY VALUE", "read or change a preference (item_storage, view_storage, view_sort)",
       "  item_storage      where new contacts are saved: 0 phone, 1 SIM, 2 ask (default 2)\n"
       "  view_storage      which contacts are listed: 0 both (default), 1 phone, 2 SIM\n"
       "  view_sort         0 first name first (default), 1 last name first\n",
       "", "", 2, 3, StoreUse::kCreates, &RunSettings},
      {"ownnumber", "[list | set NAME NUMBER | delete]", "the own number kept in phone memory",
       "  list              the own number (default)\n  set NAME NUMBER   store it ('+' kept for international numbers)\n"
       "  delete            forget it\n",
       "", "", 0, 3, StoreUse::kCreates, &RunOwnNumber},
      {"myprofile", "[show | set FILE.vcf | clear]", "the owner's own card (written as /User/Ct/myaddress.vcf)",
       "  show              the card (default)\n  set FILE.vcf      the card becomes the file's (first) vCard, photo included\n"
       "  clear             empty the card and remove its vCard file\n",
       "", "", 0, 2, StoreUse::kCreates, &RunMyProfile},
      {"birthdays", "", "contacts whose birthday falls in the next 28 days, nearest first", "", "", "", 0, 0,
       StoreUse::kExisting, &RunBirthdays},
      {"at", "'AT...'", "answer one AT command line as the phone's AT phonebook does",
       "  'AT...'           the line, e.g. 'AT+CPBR=1,5' (several commands: 'AT+CSCS=\"UCS2\";+CPBR=1')\n"
       "Phonebooks: ME (phone), SM (SIM, when the data directory has a card), FD, ON (own numbers).\n",
       "", "", 1, 1, StoreUse::kExisting, &RunAt},
      {"at-serve", "", "serve the AT command line on a pseudo-terminal until stopped (Ctrl-C, SIGTERM)",
       "Prints the terminal's path on the first line; an AT client (gammu: connection = at,\n"
       "device = the path) opens it. Clients may come and go.\n",
       "", "", 0, 0, StoreUse::kExisting, &RunAtServe},
      {"pbap", "export [--sim] [--listing]", "write the Bluetooth phonebook-access files and print their paths",
       "  export            the full list (pb.vcf: the owner's card, then every contact) as the Bluetooth\n"
       "                    service asks for it, written on the service's timer\n"
       "  --sim             the SIM's contacts (folder SIM1) instead of the phone's\n"
       "  --listing         one file per entry (0.vcf the owner's card, at most 300 contacts)\n"
       "The phonebook is started on the data directory's card first.\n",
       "sim listing", "", 1, 1, StoreUse::kExisting, &RunPbap},
  };
  return kCommands;
}

}  // namespace ctsvc_tool
