#!/usr/bin/env bash
# The Windows program under Wine, headless: the test suites through ctest (offscreen platform),
# then smoke runs of quilloa.exe with a fresh data folder whose path has Chinese characters and
# a space. With --installer: installs quilloa-<version>-setup.exe silently, runs the installed
# program's smoke run (its data must go to %LOCALAPPDATA%\Quilloa), uninstalls and checks that
# the data stayed. The Wine prefix is private to the build folder; wineserver ends with the run.
set -euo pipefail
build=$(realpath "${1:?build folder}")
mode=${2:-}
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEQT_QPA_PLATFORM=offscreen
export WINEPATH="Z:${build//\//\\}"
# QTest's own limit of five minutes a test function is too short for the slowest suites
# under Wine.
export QTEST_FUNCTION_TIMEOUT=1500000
trap 'wineserver -k 2>/dev/null || true' EXIT
# On Windows Qt's offscreen platform reads fonts from one folder, not from the system: give it
# the fonts the Linux test runs see, or every text measures empty and laid-out keys overlap.
fonts="$build/wine-fonts"
rm -rf "$fonts" && mkdir -p "$fonts"
find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.ttc' -o -name '*.otf' \) \
  -exec ln -sf {} "$fonts/" \;
export WINEQT_QPA_FONTDIR="Z:$fonts"

# Makes the prefix once. A wineboot that fails can still leave drive_c behind, in a prefix no
# program then runs in, so a prefix counts as made only once wineboot succeeded, its server
# ended (having written the registry out) and drive_c is there; anything else is removed and
# made again, once. Wine's output is kept apart and shown when an attempt fails, so the log
# says why rather than only that it stopped.
prefix_ready="$WINEPREFIX/.prefix-ready"
make_prefix() {
  local attempt log="$build/wineboot.log"
  for attempt in 1 2; do
    # A server still ending for this prefix (an earlier run's) would serve the new one.
    wineserver -k 2>/dev/null || true
    timeout 120 wineserver -w || true
    rm -rf "$WINEPREFIX"
    if WINEDEBUG=-all,err+all timeout 600 wineboot -i >"$log" 2>&1 &&
      timeout 300 wineserver -w >>"$log" 2>&1 && [ -d "$WINEPREFIX/drive_c" ]; then
      touch "$prefix_ready"
      return 0
    fi
    [ -d "$WINEPREFIX/drive_c" ] || echo "(no $WINEPREFIX/drive_c after wineboot)" >>"$log"
    echo "Making the Wine prefix failed (attempt $attempt of 2); Wine's output:"
    sed "s/^/  | /" "$log"
  done
  echo "The Wine prefix $WINEPREFIX could not be made; see Wine's output above."
  return 1
}
if [ ! -e "$prefix_ready" ]; then
  echo "Preparing the Wine prefix (first time only)"
  make_prefix
fi

# The smoke run says so on its error output once it has saved and found its prescription. On a
# backup day its start copies the stores on a thread, and such a program can then stop for good
# in its exit under Wine (see wine-run.sh); one that has said it passed and is still not gone 30 s
# later is ended, and says so, rather than failing on the time limit.
smoke() { # <program.exe> <data folder or empty> <expected data folder>
  local program=$1 data=$2 expected=$3 code=0 log pid passed=0
  local args=()
  rm -rf "$expected"
  [ -z "$data" ] || args=(--data "$(winepath -w "$data")")
  log=$(mktemp)
  QUILLOA_SMOKE_RUN=1 timeout 300 wine "$program" "${args[@]}" >"$log" 2>&1 </dev/null &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if grep -q '^smoke run: saved and found' "$log"; then
      passed=$((passed + 1))
      if [ "$passed" -ge 60 ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        # What is left of it would hold its files against the uninstaller.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        cat "$log"
        echo "smoke run passed, but the program hung in its exit under Wine; ended it"
        rm -f "$log"
        check_stores "$expected"
        return 0
      fi
    fi
    sleep 0.5
  done
  wait "$pid" || code=$?
  cat "$log"
  rm -f "$log"
  [ "$code" = 0 ] || { echo "smoke run of $program failed ($code)"; exit 1; }
  check_stores "$expected"
}

check_stores() { # <data folder>
  for store in 档案.dat 设置.dat; do
    [ -s "$1/数据库/$store" ] || { echo "missing $1/数据库/$store"; exit 1; }
  done
}

localappdata() {
  winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')"
}

# The suites that are not run under Wine, each with its reason; docs/windows.md lists
# the same. The first eight are not built for Windows at all (cmake/QuilloaSources.cmake).
not_run=(
  "TestCupsPrinting: CUPS and its PDF job files; Windows prints through Qt's print engine"
  "TestSpoolerPageDevice: the CUPS spooler's page device, not built for Windows"
  "TestSmoothKaiRule: fontconfig's substitution rule, not built for Windows"
  "TestPackage: the Debian package"
  "TestPrivateModes: POSIX modes 0700/0600; Windows keeps files private by access lists"
  "TestServerFaults: a relay of POSIX sockets between a test and its PostgreSQL server"
  "TestPostgresServer: starts and stops PostgreSQL servers from Debian's server programs"
  "TestServerBackup: a PostgreSQL server of its own and the POSIX socket relay to it"
  "TestServerStore: needs a PostgreSQL server of its own"
  "TestServerImport: needs a PostgreSQL server of its own"
  "TestPdfPageDevice: reads its PDFs back with poppler's Linux tools, which Wine cannot start"
  ".*_postgresql: the store suites again on a PostgreSQL server of their own"
  ".*_workstation: the store suites again as a PostgreSQL workstation role"
)

if [ "$mode" != --installer ]; then
  exclude=""
  for entry in "${not_run[@]}"; do
    echo "Not run under Wine: $entry"
    exclude+="${exclude:+|}^${entry%%:*}\$"
  done
  (cd "$build" && ctest -E "$exclude" -j "${JOBS:-2}" --timeout 1800 --no-tests=error --output-on-failure)
  smoke "$build/quilloa.exe" "$build/smoke/病历 数据" "$build/smoke/病历 数据"
  echo "Wine tests passed"
  exit 0
fi

setup=$(ls "$build"/quilloa-*-setup.exe)
target='C:\Program Files\Quilloa'
folder=$(winepath -u "$target")
wine "$setup" /S "/D=$target"
[ -f "$folder/quilloa.exe" ] && [ -f "$folder/uninstall.exe" ] || { echo "not installed"; exit 1; }
data="$(localappdata)/Quilloa"
smoke "$folder/quilloa.exe" "" "$data"
wine "$folder/uninstall.exe" /S
# The uninstaller copies itself away and returns at once; give it time to finish.
for _ in $(seq 60); do [ -e "$folder/quilloa.exe" ] || break; sleep 1; done
[ ! -e "$folder/quilloa.exe" ] || { echo "uninstall left the program"; exit 1; }
[ -s "$data/数据库/档案.dat" ] || { echo "uninstall removed the data"; exit 1; }
echo "Installer test passed"
