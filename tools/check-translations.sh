#!/usr/bin/env bash
# Runs lupdate over the sources and fails when it meets a text it cannot give a translation context:
# tr() outside a class that declares its texts' context, or a class calling tr() without declaring one.
# Usage: check-translations.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate="$1"
sources="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$lupdate" -recursive "$sources" -ts "$work/kelvane.ts" >"$work/log" 2>&1
if grep -E "cannot be called without context|lacks Q_OBJECT|Cannot invoke tr|Discarding unconsumed" "$work/log"; then
    echo "Texts above are invisible to translators: give each a context (Q_DECLARE_TR_FUNCTIONS or Q_OBJECT)." >&2
    exit 1
fi
grep "Found" "$work/log"
