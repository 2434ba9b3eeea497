#!/usr/bin/env bash
# The demo portfolio of scripts/demo, made with private settings: every item gets its
# quotation from the example pages, the exact figure the page shows, and an existing
# demo portfolio survives a second run unless --force is given.
#
#   demo_test.sh TARVELO_CLI SCRIPTS_DEMO
set -euo pipefail

cli="$1"
demo="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" TMPDIR="$tmp/tmp" LC_ALL=C
mkdir -p "$TMPDIR"
export TARVELO_CLI="$cli"
portfolio="$XDG_DATA_HOME/Tarvelo/Demo.qvx"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

bash "$demo" >"$tmp/demo.out" || { cat "$tmp/demo.out"; fail "scripts/demo failed"; }
[ -f "$portfolio" ] || fail "no portfolio at $portfolio"

"$cli" update "$portfolio" >"$tmp/update.out" || { cat "$tmp/update.out"; fail "update did not find every quotation"; }
[ "$(wc -l <"$tmp/update.out")" -eq 5 ] || { cat "$tmp/update.out"; fail "update did not report five items"; }

# Each item's value as the page shows it, and a history behind it: the total change
# counts the days since the oldest quotation.
"$cli" list "$portfolio" >"$tmp/list.out"
expected=(
  "Nordwind Energie=23.8400"
  "Alpen Fonds=112.3700"
  "Nordmark Index=14382.5600"
  "Alpenland 30=3127.4100"
  "EUR/NKR=11.4825"
)
[ "$(grep -c $'^[0-9]\t' "$tmp/list.out")" -eq ${#expected[@]} ] || { cat "$tmp/list.out"; fail "not five rows"; }
for entry in "${expected[@]}"; do
  name="${entry%=*}"
  value="${entry#*=}"
  row="$(awk -F '\t' -v name="$name" '$2 == name' "$tmp/list.out")"
  [ -n "$row" ] || fail "no row for $name"
  [ "$(cut -f4 <<<"$row")" = "$value" ] || fail "$name: value $(cut -f4 <<<"$row"), expected $value"
  case "$(cut -f9 <<<"$row")" in
    *"(0 Days)"*) fail "$name has no history: $row" ;;
  esac
done

# The holdings: 200 x 23.84 + 40 x 112.37 + 1000 x 11.4825, bought for 20058.00.
tail -n 1 "$tmp/list.out" | grep -q '^Amount invested: 20745.30 (Last: [-+][0-9.]*% Total: +3.43%)$' \
  || fail "totals: $(tail -n 1 "$tmp/list.out")"

# The README's pictures: the demo items have colours of their own, and both charts are
# drawn without a display, as PNG and SVG.
[ "$("$cli" graphic "$portfolio" "Nordwind Energie" | grep '^colour')" = "colour #0000FF" ] \
  || fail "Nordwind Energie is not blue"
(
  unset DISPLAY WAYLAND_DISPLAY
  # Qt makes a runtime folder in TMPDIR when a session has none.
  export XDG_RUNTIME_DIR="$tmp/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  "$cli" chart "$portfolio" "$tmp/history.png" --items "Nordwind Energie" >/dev/null
  "$cli" chart "$portfolio" "$tmp/comparison.svg" >/dev/null
) || fail "chart failed"
[ "$(head -c 8 "$tmp/history.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "history.png is no PNG"
grep -q '\[Comparison\]' "$tmp/comparison.svg" || fail "comparison.svg has no title"
rm "$tmp/history.png" "$tmp/comparison.svg"

# A second run keeps the portfolio and what was added to it since; --force replaces it.
"$cli" quote "$portfolio" "Alpen Fonds" 123.45
bash "$demo" >/dev/null
"$cli" dump "$portfolio" >"$tmp/kept.json"
grep -q '"value":123.45' "$tmp/kept.json" || fail "a second run replaced the portfolio"
bash "$demo" --force >/dev/null
"$cli" dump "$portfolio" >"$tmp/new.json"
grep -q '"value":123.45' "$tmp/new.json" && fail "--force kept the old portfolio"

# Nothing is left behind: no download files, no half-made portfolio beside the demo.
[ -z "$(ls -A "$TMPDIR")" ] || fail "files left in TMPDIR: $(ls -A "$TMPDIR")"
[ "$(ls -A "$XDG_DATA_HOME/Tarvelo")" = "Demo.qvx" ] || fail "files left beside the portfolio"
echo "demo portfolio: every item found its quotation"
