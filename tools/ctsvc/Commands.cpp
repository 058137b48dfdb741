// The command table of ctsvc.
#include "CtsvcTool.h"

namespace ctsvc_tool {

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"init", "", "open or create the store; show its schema version and tables", &RunInit},
      {"demo", "", "the main job: load the service and show what it does", &RunDemo},
      {"gen", "N [--seed S]", "store N generated contacts (Latin and Hangul names, numbers, e-mails, groups)", &RunGen},
      {"add", "--first F --last L ...", "store a contact (--number, --email, --address S|C|ST|CO|PC, --group ID, --account N, --sim; repeatable)", &RunAdd},
      {"show", "ID [--person]", "a contact with its persons and details (or one person)", &RunShow},
      {"list", "[--persons] [--order fl|lf]", "contacts (or persons) in name order (--limit N, --offset N)", &RunList},
      {"delete", "ID [--person]", "delete a contact with its persons (or one person)", &RunDelete},
      {"link", "A B", "merge contact B into contact A", &RunLink},
      {"unlink", "A PERSON [--keep]", "give every other person of contact A its own contact again", &RunUnlink},
      {"favorite", "ID [--off|--order N]", "make a contact a favourite (or not; or set its order)", &RunFavorite},
      {"group", "add NAME|list|delete ID", "groups and their member counts", &RunGroup},
      {"speeddial", "set S NUM|list|clear S", "speed-dial keys 1..29 (NUM: a phone-number id from 'show')", &RunSpeedDial},
      {"search", "[TEXT] [--favorite ...]", "contacts whose name words start with the words of TEXT (--device, --group, --has-number, --has-email, --local narrow it)", &RunSearch},
      {"letters", "[--persons] [--order fl|lf] [--async]", "index letters of the list with their counts (--async: letters only, from the background task)", &RunLetters},
      {"delete-account", "ID [--sim]", "remove every contact of an account, in the background, and wait for it", &RunDeleteAccount},
      {"watch", "[--count N] [--seconds S]", "print the changes other processes make to the store", &RunWatch},
      {"sim", "make-card --gsm|--usim [--empty] FILE | dump [--json]", "write a sample SIM card file; show the data directory's card (sim/card.json)", &RunSim},
  };
  return kCommands;
}

}  // namespace ctsvc_tool
