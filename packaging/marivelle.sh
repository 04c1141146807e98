#!/bin/sh
# Starts Marivelle in its data folder, $MARIVELLE_HOME (~/Marivelle unless set). The first
# time, the folder gets the shipped, empty data.mdb and the report files; an existing
# data.mdb, or a report file already there (changed or not), is never overwritten.
set -e

prefix=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
shipped="$prefix/share/marivelle"

if [ -n "$MARIVELLE_HOME" ]; then
    home=$MARIVELLE_HOME
elif [ -n "$HOME" ]; then
    home=$HOME/Marivelle
else
    echo "marivelle: set MARIVELLE_HOME to the folder of the data" >&2
    exit 1
fi

mkdir -p "$home"
if [ ! -e "$home/data.mdb" ]; then
    cp "$shipped/data.mdb" "$home/data.mdb"
    chmod u+w "$home/data.mdb"
    echo "Seeded $home/data.mdb"
fi
for f in "$shipped"/*.RAV; do
    [ -e "$home/$(basename "$f")" ] || cp "$f" "$home/"
done

cd "$home"
exec "$prefix/lib/marivelle/marivelle" "$@"
