#!/usr/bin/env bash
# ./play as a newcomer meets it, in a fresh copy of the project with no build yet:
#   - it builds the program alone, not the tests;
#   - without a display it says so in one line (virtual display, no sound device, where the log
#     is) before the show starts;
#   - with --timeline it plays that timeline, named from where ./play was run;
#   - with a display it plays there, without the line.
# No second X server is started: the xvfb-run ./play reaches without a display is replaced by one
# that plays on the display the tests share.
#   PlayScriptTest.sh <source folder> <work folder>
set -uo pipefail
source=$1
work=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { grep -qF -- "$2" <<<"$1" || fail "missing: $2"; }
refuse() { ! grep -qF -- "$2" <<<"$1" || fail "unexpected: $2"; }

[ -n "${DISPLAY:-}" ] || { echo "FAIL: the tests' display is needed"; exit 1; }
shared_display=$DISPLAY

# The copy lies inside the build folder, laid out as the project is, so the compiler cache knows
# its files.
rm -rf "$work"
mkdir -p "$work/kelvo" "$work/stub" "$work/elsewhere"
# Everything of the project but its builds and its history, so a folder the build adds is not missed.
(cd "$source" && tar --exclude=./build --exclude=./.git --exclude=./kelvo.log -cf - .) | (cd "$work/kelvo" && tar -xf -)
cat >"$work/stub/xvfb-run" <<STUB
#!/usr/bin/env bash
while [ \$# -gt 0 ] && [[ \$1 == -* ]]; do
  case \$1 in -s|-n|-f|-e|-p|-w) shift 2 ;; *) shift ;; esac
done
export DISPLAY=$shared_display
exec "\$@"
STUB
chmod +x "$work/stub/xvfb-run"

headless() { env -u DISPLAY PATH="$work/stub:$PATH" SDL_AUDIODRIVER= "$@"; }

# The bundled show, headless, a frame a second for two seconds.
out=$(cd "$work/kelvo" && headless ./play --debugframedraw 1 --endtime 2 2>&1)
status=$?
[ $status -eq 0 ] || fail "./play ended with $status"
line="./play: no display answers, so the show plays under a virtual X display (Xvfb) with no sound device (SDL's dummy audio driver); its log is $work/kelvo/kelvo.log."
expect "$out" "$line"
shown=$(grep -n -F -- "$line" <<<"$out" | cut -d: -f1 | head -1)
banner=$(grep -n -F "Starting.." <<<"$out" | cut -d: -f1 | head -1)
[ -n "$shown" ] && [ -n "$banner" ] && [ "$shown" -lt "$banner" ] || fail "the line comes before the show"
expect "$out" 'xmltimeline::load() - Loading Timeline from "timeline.xml"..'
expect "$out" "End of Playback reached at 2 seconds."
[ -f "$work/kelvo/kelvo.log" ] || fail "no kelvo.log where the line says"
[ -x "$work/kelvo/build/plain/kelvo" ] || fail "the program was not built"
built_tests=$(find "$work/kelvo/build/plain/tests" -maxdepth 1 -type f -name '*Test' 2>/dev/null | wc -l)
[ "$built_tests" -eq 0 ] || fail "./play built $built_tests test programs"

# A timeline of one's own, named from another folder, in place of the bundled show.
cat >"$work/elsewhere/other.xml" <<'XML'
<timeline>
  <action name="createEnvironment2D" type="string" time="0" param="plain"/>
  <action name="setActiveEnvironment" type="string" time="0" param="plain"/>
  <action name="exit" type="none" time="1"/>
</timeline>
XML
out=$(cd "$work/elsewhere" && headless "$work/kelvo/play" --timeline other.xml --debugframedraw 1 2>&1)
status=$?
[ $status -eq 0 ] || fail "./play --timeline other.xml ended with $status"
expect "$out" 'xmltimeline::load() - Loading Timeline from "other.xml"..'
expect "$out" "drawFrame() - Exit requested. Terminating.."
refuse "$out" 'Loading Timeline from "timeline.xml"'
# Given twice, the first one still wins, as the program reads its options.
out=$(cd "$work/elsewhere" && headless "$work/kelvo/play" --timeline other.xml --timeline missing.xml \
  --debugframedraw 1 --nologfile 2>&1)
expect "$out" 'Loading Timeline from "other.xml"..'
expect "$out" "its log goes to standard output only."

# With a display that answers: no line, the show plays there.
out=$(cd "$work/elsewhere" && SDL_AUDIODRIVER=dummy "$work/kelvo/play" --timeline other.xml --debugframedraw 1 2>&1)
status=$?
[ $status -eq 0 ] || fail "./play with a display ended with $status"
refuse "$out" "no display answers"
expect "$out" "drawFrame() - Exit requested. Terminating.."

[ $failures -eq 0 ] || { echo "$out" | tail -20; exit 1; }
rm -rf "$work"
echo "PASS"
