#!/bin/sh
# Checks the Debian package as a salon's machine meets it: lintian (no hardening missing),
# the menu entry and the store description validated, then the package unpacked into a
# scratch root, its programs checked for Debian's hardening, and its launcher started twice
# with a fresh MARIVELLE_HOME under a virtual X display.
#   sh packaging/deb-check.sh [build folder]
set -eu

build=${1:-build}
deb=$(ls "$build"/marivelle_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "deb-check: no package in $build (run make deb)" >&2; exit 1; }
app=example.marivelle.Marivelle

sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
missing=""
for p in lintian desktop-file-utils appstream xvfb x11-utils python3 binutils; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
fi

scratch=$(mktemp -d)
xvfb=""
program=""
cleanup() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "deb-check: FAILED: $*" >&2
    exit 1
}

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends

echo "== lintian"
status=0
lintian --fail-on error --display-info "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
cat "$scratch/lintian.log"
[ "$status" = 0 ] || fail "lintian reports errors"
! grep -q 'hardening-' "$scratch/lintian.log" || fail "lintian reports missing hardening"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# Built with dpkg-buildflags: position independent, bound at load and read-only after it
# (relro, bindnow), with the fortified and stack-protected functions of the C library.
echo "== hardening"
for exe in usr/lib/marivelle/marivelle usr/bin/marivelle-data; do
    f="$root/$exe"
    readelf -h "$f" | grep -q 'Type: *DYN' || fail "$exe is not position independent"
    readelf -lW "$f" | grep -q 'GNU_RELRO' || fail "$exe has no relro"
    readelf -dW "$f" | grep -Eq 'BIND_NOW|FLAGS_1.*NOW' || fail "$exe is not bound now"
    readelf -sW --dyn-syms "$f" | grep -q '__stack_chk_fail' || fail "$exe has no stack protector"
    readelf -sW --dyn-syms "$f" | grep -q '_chk@' || fail "$exe calls no fortified function"
    echo "$exe: PIE, relro, bindnow, stack protector, fortified"
done

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "menu entry"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" ||
    fail "metainfo"

for f in scalable/apps/$app.svg 48x48/apps/$app.png 256x256/apps/$app.png; do
    [ -s "$root/usr/share/icons/hicolor/$f" ] || fail "no icon $f"
done

# A virtual display of its own; Xvfb picks a free number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
display=":$(cat "$scratch/display")"

home="$scratch/Marivelle"

# Starts the launcher and waits for the program's first window (the splash, captioned
# "Marivelle") to be on the screen; then ends the program.
start_until_splash() {
    MARIVELLE_HOME="$home" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
        "$root/usr/bin/marivelle" >"$scratch/run.log" 2>&1 &
    program=$!
    shown=""
    for _ in $(seq 200); do
        kill -0 "$program" 2>/dev/null || break
        for id in $(DISPLAY="$display" xwininfo -root -tree 2>/dev/null |
            sed -n 's/^ *\(0x[0-9a-f]*\) "Marivelle".*/\1/p'); do
            if DISPLAY="$display" xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
                shown=$id
            fi
        done
        [ -z "$shown" ] || break
        sleep 0.1
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    program=""
    cat "$scratch/run.log"
    [ -n "$shown" ] || fail "the program did not reach its splash"
    echo "splash shown (window $shown)"
}

echo "== first start with a fresh MARIVELLE_HOME"
start_until_splash
[ -s "$home/data.mdb" ] || fail "data.mdb not seeded"
for f in "$root"/usr/share/marivelle/*.RAV; do
    cmp -s "$f" "$home/$(basename "$f")" || fail "$(basename "$f") not seeded"
done
echo "seeded: $(ls "$home" | tr '\n' ' ')"

# The salon's own data and a changed report file; a deleted report file comes back.
python3 - "$home/data.mdb" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('deb-check', 'kept')")
db.commit()
PY
echo "<!-- changed by the salon -->" >>"$home/NOTES.RAV"
rm "$home/LIST.RAV"
before=$(md5sum <"$home/data.mdb")
changed=$(md5sum <"$home/NOTES.RAV")

echo "== second start"
start_until_splash
[ "$(md5sum <"$home/data.mdb")" = "$before" ] || fail "data.mdb was overwritten"
[ "$(md5sum <"$home/NOTES.RAV")" = "$changed" ] || fail "the changed NOTES.RAV was overwritten"
cmp -s "$root/usr/share/marivelle/LIST.RAV" "$home/LIST.RAV" || fail "LIST.RAV not restored"
echo "kept: data.mdb and the changed NOTES.RAV; restored: LIST.RAV"

# The repair tool the messages and the README name, on the PATH of the installed package.
echo "== marivelle-data"
tool="$root/usr/bin/marivelle-data"
[ -x "$tool" ] || fail "no /usr/bin/marivelle-data"
zcat "$root/usr/share/man/man1/marivelle-data.1.gz" | grep -q '^\.B marivelle-data restore' ||
    fail "no man page of marivelle-data"
# The file was changed above by another program: sound, not sealed until sealed again.
MARIVELLE_HOME="$home" "$tool" check >"$scratch/check.log" || { cat "$scratch/check.log"; fail "check"; }
grep -q 'άλλο πρόγραμμα' "$scratch/check.log" || fail "check did not see the other program's change"
MARIVELLE_HOME="$home" "$tool" seal || fail "seal"
MARIVELLE_HOME="$home" "$tool" check >"$scratch/check.log" || fail "check after seal"
grep -q 'όλες σωστές' "$scratch/check.log" || fail "not sealed"
# A safety copy restored in place of the file; the file is kept aside.
mkdir -p "$home/Αντίγραφα"
cp "$home/data.mdb" "$home/Αντίγραφα/data-2026-01-02.mdb"
MARIVELLE_HOME="$home" "$tool" copies | grep -q 'data-2026-01-02.mdb' || fail "copies"
MARIVELLE_HOME="$home" "$tool" restore 2026-01-02 || fail "restore"
ls "$home"/data.mdb.before-restore-* >/dev/null 2>&1 || fail "the present file was not kept"
cmp -s "$home/data.mdb" "$home/Αντίγραφα/data-2026-01-02.mdb" || fail "the copy is not in place"
echo "marivelle-data: check, seal, copies and restore work from the package"

echo "deb-check: all checks passed"
