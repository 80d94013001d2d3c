#!/usr/bin/env bash
# Runs lupdate over the sources and fails when it meets a text it cannot give a translation context:
# tr() outside a class that declares its texts' context, or a class calling tr() without declaring one.
# With a catalogue, also fails when a counted text ("%n household(s)") has no singular and plural forms in
# it, or it holds forms of texts the sources no longer have.
# Usage: check-translations.sh LUPDATE SOURCE_DIR [ENGLISH_CATALOGUE]
set -euo pipefail
lupdate="$1"
sources="$2"
catalogue="${3:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$lupdate" -recursive "$sources" -ts "$work/kelvane.ts" >"$work/log" 2>&1
if grep -E "cannot be called without context|lacks Q_OBJECT|Cannot invoke tr|Discarding unconsumed" "$work/log"; then
    echo "Texts above are invisible to translators: give each a context (Q_DECLARE_TR_FUNCTIONS or Q_OBJECT)." >&2
    exit 1
fi
grep "Found" "$work/log"
if [ -n "$catalogue" ]; then
    cp "$catalogue" "$work/english.ts"
    "$lupdate" -silent -recursive "$sources" -ts "$work/english.ts" -pluralonly -source-language en \
        -target-language en -locations none >/dev/null 2>&1
    stale="$(grep -B3 -E 'type="(unfinished|vanished|obsolete)"' "$work/english.ts" | grep "<source>" || true)"
    if [ -n "$stale" ]; then
        echo "$stale" >&2
        echo "The English catalogue $catalogue lacks these counted texts' forms or holds texts gone from the" \
            "sources: run tools/update-translations.sh." >&2
        exit 1
    fi
    echo "English catalogue: every counted text has its forms."
fi
