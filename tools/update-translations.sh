#!/usr/bin/env bash
# Brings the English catalogue up to date with the sources: every counted text ("%n household(s)") gets its
# singular and plural forms; texts no longer in the sources are dropped. Read the new forms before committing.
# Usage: tools/update-translations.sh [LUPDATE]
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate="${1:-/usr/lib/qt6/bin/lupdate}"
catalogue=translations/kelvane_en.ts
"$lupdate" -silent -recursive src -ts "$catalogue" -pluralonly -source-language en -target-language en \
    -locations none -no-obsolete
python3 tools/fill-english-plurals.py "$catalogue"
"$lupdate" -silent -recursive src -ts "$catalogue" -pluralonly -source-language en -target-language en \
    -locations none -no-obsolete
