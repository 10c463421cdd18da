#!/usr/bin/env bash
# The bad-input table: panelhost on broken module files, panel files, scripts
# and output paths. Every case must exit with its status (never a signal),
# name the file (and line) in its message, say what is wrong, and leave no
# sanitizer report.
#
# usage: run_table.sh PANELHOST GAUGES_DIR FIXTURE_MODULES_DIR
set -uo pipefail
panelhost=$1 gauges=$2 fixtures=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0 cases=0

# check NAME STATUS WHERE WHAT -- ARGS...: WHERE is a literal that the error
# output must hold (the file, with ":LINE" where there is one), WHAT an
# extended regular expression for what is wrong.
check() {
  local name=$1 want_status=$2 where=$3 what=$4
  shift 5
  cases=$((cases + 1))
  local out=$work/out.txt errs=$work/err.txt status problems=()
  (cd "$work" && timeout 60 "$panelhost" "$@") >"$out" 2>"$errs"
  status=$?
  if [ "$status" -ge 124 ]; then
    problems+=("ended by a signal or timeout (status $status)")
  elif [ "$status" -ne "$want_status" ]; then
    problems+=("exit status $status, expected $want_status")
  fi
  grep -qF -- "$where" "$errs" || problems+=("the message does not name '$where'")
  grep -qE -- "$what" "$errs" || problems+=("the message does not say /$what/")
  if grep -qE 'Sanitizer|runtime error:' "$errs"; then problems+=("sanitizer report"); fi
  if [ ${#problems[@]} -gt 0 ]; then
    failures=$((failures + 1))
    echo "FAIL $name: ${problems[*]}"
    sed 's/^/    | /' "$errs" | head -20
  else
    echo "ok   $name: $(head -1 "$errs" | tr -d '\0')"
  fi
}

# script NAME: writes standard input to WORK/NAME.panel and prints its path.
script() {
  cat >"$work/$1.panel"
  echo "$work/$1.panel"
}

# ---- module files -------------------------------------------------------------
mods=$work/modules
mkdir -p "$mods"
real=$gauges/lubepress.gau
: >"$mods/empty.gau"
head -c 100 "$real" >"$mods/truncated_header.gau"
head -c $(($(stat -c %s "$real") / 2)) "$real" >"$mods/truncated_half.gau"
printf 'this is a text file, not a module\n' >"$mods/text.gau"
printf 'MZ' >"$mods/pe_stub.gau"
{ printf 'MZ'; head -c 58 /dev/zero; printf '\x40\x00\x00\x00'; printf 'PE\0\0'; head -c 200 /dev/zero; } >"$mods/pe_garbage.gau"
cp "$real" "$mods/bad_sections.gau"
printf '\xff\xff\xff\xff\xff\xff\xff\x7f' | dd of="$mods/bad_sections.gau" bs=1 seek=40 conv=notrunc status=none
cp "$fixtures"/*.gau "$mods/"
mkdir -p "$mods/folder.gau"

place() {  # place MODULE GAUGE: a script that places one gauge from $mods, line 2
  script "place_$1" <<END
gauges $mods
place $1!${2:-oil_pressure}
tick
END
}

check missing-module        2 "place_nosuch.panel:2"    'nosuch\.gau'                -- run "$(place nosuch)"
check empty-module          2 "place_empty.panel:2"     'empty\.gau'                 -- run "$(place empty)"
check truncated-header      2 "place_truncated_header.panel:2" 'truncated_header\.gau' -- run "$(place truncated_header)"
check truncated-half        2 "place_truncated_half.panel:2" 'truncated_half\.gau'   -- run "$(place truncated_half)"
check text-as-module        2 "place_text.panel:2"      'not a module file'          -- run "$(place text)"
check pe-two-bytes          2 "place_pe_stub.panel:2"   'pe_stub\.gau'               -- run "$(place pe_stub)"
check pe-garbage            2 "place_pe_garbage.panel:2" 'pe_garbage\.gau'           -- run "$(place pe_garbage)"
check folder-as-module      2 "place_folder.panel:2"    'folder\.gau: '                -- run "$(place folder)"
check not-a-module          2 "place_not_a_module.panel:2" 'does not export ImportTable' -- run "$(place not_a_module)"
check gauge-list-outside    2 "place_hostile_1.panel:2" 'points outside'             -- run "$(place hostile_1)"
check gauge-name-outside    2 "place_hostile_2.panel:2" 'name.*outside'              -- run "$(place hostile_2)"
check init-is-data          2 "place_hostile_3.panel:2" 'init routine'                -- run "$(place hostile_3)"
check element-loop          2 "place_hostile_4.panel:2" 'deeper|loop'                -- run "$(place hostile_4)"
check tooltip-text-outside  2 "place_hostile_5.panel:2" 'tooltip'                     -- run "$(place hostile_5)"
check frame-routine-outside 2 "place_hostile_6.panel:2" 'routine.*outside'             -- run "$(place hostile_6)"
check unknown-gauge         2 "place_lubepress.panel:2" 'no_such_gauge'              -- run "$(cp "$real" "$mods/" && place lubepress no_such_gauge)"

check inspect-missing       1 "$mods/nosuch.gau"        'cannot open'                -- inspect "$mods/nosuch.gau"
check inspect-empty         1 "$mods/empty.gau"         'not a module file'          -- inspect "$mods/empty.gau"
check inspect-truncated     1 "$mods/truncated_half.gau" 'beyond the end|cannot'     -- inspect "$mods/truncated_half.gau"
check inspect-pe-garbage    1 "$mods/pe_garbage.gau"    'not built for i386'                       -- inspect "$mods/pe_garbage.gau"
check inspect-bad-sections  1 "$mods/bad_sections.gau"  'beyond the end|bad section' -- inspect "$mods/bad_sections.gau"
check inspect-not-a-module  1 "$mods/not_a_module.gau"  'does not export'            -- inspect "$mods/not_a_module.gau"
check inspect-hostile       1 "$mods/hostile_1.gau"     'points outside'             -- inspect "$mods/hostile_1.gau"
check inspect-hostile-name  1 "$mods/hostile_2.gau"     'name.*outside'              -- inspect "$mods/hostile_2.gau"
check inspect-folder        1 "$mods/folder.gau"        'a folder'                          -- inspect "$mods/folder.gau"

# ---- panel files (strict: a warning stops the panel) ------------------------------
panel() {  # panel NAME: standard input after a valid [Window00] header, as WORK/NAME.cfg
  { printf '[Window Titles]\nWindow00=Main\n\n[Window00]\n'; cat; } >"$work/$1.cfg"
  echo "$work/$1.cfg"
}
render_strict() { echo render --strict --gauges "$gauges" --out "$work/out.png" --panel "$1"; }

check panel-missing         2 "$work/nosuch.cfg"        'cannot open'                -- $(render_strict "$work/nosuch.cfg")
check panel-absurd-x        2 "absurd_x.cfg:5"          '.'  -- $(render_strict "$(panel absurd_x <<<'gauge00=lubepress!oil_pressure, 99999999999, 0, 100')")
check panel-no-numbers      2 "no_numbers.cfg:5"        '.'  -- $(render_strict "$(panel no_numbers <<<'gauge00=lubepress!oil_pressure, abc, , -40')")
check panel-absurd-size     2 "absurd_size.cfg:5"       'size_mm'  -- $(render_strict "$(panel absurd_size <<<'size_mm=-5,1e40')")
check panel-no-bang         2 "no_bang.cfg:5"           '.'  -- $(render_strict "$(panel no_bang <<<'gauge00=lubepress oil_pressure, 0, 0')")
check panel-unknown-module  2 "unknown_module.cfg:5"    'nosuch'  -- $(render_strict "$(panel unknown_module <<<'gauge00=nosuch!oil_pressure, 0, 0')")
check panel-unknown-gauge   2 "unknown_gauge.cfg:5"     'no_such_gauge' -- $(render_strict "$(panel unknown_gauge <<<'gauge00=lubepress!no_such_gauge, 0, 0')")
check panel-zero-width      2 "zero_width.cfg:5"        'width'  -- $(render_strict "$(panel zero_width <<<'gauge00=lubepress!oil_pressure, 0, 0, 0, 0')")
check panel-window-gap      2 "window_gap.cfg:6"        'Window02'  -- $(render_strict "$(panel window_gap <<<$'gauge00=lubepress!oil_pressure, 0, 0\n[Window02]')")
head -c 3000 "$real" | tr -d '\0' >"$work/garbage.cfg"
check panel-garbage         2 "$work/garbage.cfg"       '.'                          -- $(render_strict "$work/garbage.cfg")

# ---- scripts ----------------------------------------------------------------------
check script-missing        2 "$work/nosuch.panel"      'cannot open'                -- run "$work/nosuch.panel"
check unknown-command       2 "unknown_command.panel:2" "unknown command 'frobnicate'" -- run "$(printf 'tick\nfrobnicate 1 2\n' | script unknown_command)"
check unbalanced-quote      2 "unbalanced.panel:1"      'unbalanced quote'           -- run "$(printf 'avar "FUEL TANK CENTER QUANTITY gallons 3\n' | script unbalanced)"
check quote-in-word         2 "quote_in_word.panel:1"   'quote'                      -- run "$(printf 'place lube"press!oil_pressure\n' | script quote_in_word)"
check absurd-tick           2 "absurd_tick.panel:1"     'tick count'                 -- run "$(printf 'tick 99999999999999999999\n' | script absurd_tick)"
check negative-hold         2 "negative_hold.panel:3"   'tick count'                 -- run "$(printf 'gauges %s\nplace lubepress!oil_pressure as oil\nhold oil 1 1 -5\n' "$gauges" | script negative_hold)"
check absurd-coordinate     2 "absurd_click.panel:3"    'coordinate'                 -- run "$(printf 'gauges %s\nplace lubepress!oil_pressure as oil\nclick oil 1e300 4\n' "$gauges" | script absurd_click)"
check token-not-number      2 "token_text.panel:1"      'not a number'               -- run "$(printf 'token 418 lots\n' | script token_text)"
check token-id-negative     2 "token_negative.panel:1"  'out of range'               -- run "$(printf 'token -1 5\n' | script token_negative)"
check unknown-unit          2 "unknown_unit.panel:1"    'furlongs'                   -- run "$(printf 'avar "FUEL TANK CENTER QUANTITY" furlongs 3\n' | script unknown_unit)"
check expect-too-short      2 "expect_short.panel:1"    'usage'                      -- run "$(printf 'expect reading\n' | script expect_short)"
check unknown-handle        2 "unknown_handle.panel:1"  'no gauge'                   -- run "$(printf 'click nobody 1 1\n' | script unknown_handle)"
check depth-beyond-chain    2 "deep.panel:3"            'no element at depth'        -- run "$(printf 'gauges %s\nplace lubepress!oil_pressure as oil\nexpect angle oil 99999 0\n' "$gauges" | script deep)"
check script-panel-strict   2 "no_bang.cfg:5"           '.'                          -- run --strict --gauges "$gauges" "$(printf 'panel %s\n' "$work/no_bang.cfg" | script strict_panel)"
check missing-gauges-folder 2 "missing_folder.panel:2"  'nowhere/lubepress\.gau' -- run "$(printf 'gauges nowhere\nplace lubepress!oil_pressure\n' | script missing_folder)"
check message-out-of-range  2 "message_range.panel:3"   'message out of range'       -- run "$(printf 'gauges %s\nplace lubepress!oil_pressure as oil\nmessage oil 99999999999\n' "$gauges" | script message_range)"
check long-unclosed-line    2 "long_line.panel:1"       'unbalanced quote'           -- run "$(printf 'print "%s\n' "$(head -c 300000 /dev/zero | tr '\0' x)" | script long_line)"
check guide-on-garbage      1 "$mods/text.gau"          'not a module file'          -- inspect --guide "$mods/text.gau"
tail -c 4000 "$real" >"$work/garbage.panel"
check script-garbage        2 "$work/garbage.panel:"    '.'                          -- run "$work/garbage.panel"

# ---- output paths -----------------------------------------------------------------
check render-unwritable     2 "$work/no/such/dir/out.png" '.' -- render --gauges "$gauges" --out "$work/no/such/dir/out.png"
check script-render-unwritable 2 "render_unwritable.panel:3" 'no/such/dir' -- run "$(printf 'gauges %s\nplace lubepress!oil_pressure\nrender no/such/dir/out.png\n' "$gauges" | script render_unwritable)"
check render-into-folder    2 "$work" '.'                                              -- render --gauges "$gauges" --out "$work"
check render-bad-ticks      2 "--ticks"                 'bad or incomplete option'   -- render --ticks -5
check render-bad-scale      2 "--scale"                 'bad or incomplete option'   -- render --scale 1e9

echo "$cases cases, $failures failed"
[ "$failures" -eq 0 ]
