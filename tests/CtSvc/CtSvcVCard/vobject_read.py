"""Reads vCard files with the vobject library and prints, per card, one line:
FN<TAB>family<TAB>given<TAB>numbers (comma-separated)<TAB>e-mails (comma-separated)<TAB>photo bytes.
Exits with 77 when vobject is not installed (the calling test skips)."""
import sys

try:
    import vobject
except ImportError:
    sys.exit(77)

for path in sys.argv[1:]:
    with open(path, encoding="utf-8", newline="") as handle:
        # allowQP: join quoted-printable soft line breaks of vCard 2.1.
        for card in vobject.readComponents(handle.read(), allowQP=True):
            name = card.n.value if "n" in card.contents else None
            photo = card.photo.value if "photo" in card.contents else b""
            print("\t".join([
                card.fn.value if "fn" in card.contents else "",
                name.family if name else "",
                name.given if name else "",
                ",".join(tel.value for tel in card.contents.get("tel", [])),
                ",".join(email.value for email in card.contents.get("email", [])),
                str(len(photo)),
            ]))
