#!/bin/sh
# Starts KORVADIN from its program folder. The program keeps its configuration
# file, its database and its backups in the program folder: when the installed
# folder cannot be written (a system-wide package), each user works in a copy
# of it, ~/.local/share/korvadin, made on the first start; later starts refresh
# the program and its help there and leave configuration and data alone.
set -e
installata="$(dirname "$(readlink -f "$0")")/../lib/korvadin"
installata="$(readlink -f "$installata")"
cartella="$installata"
if [ ! -w "$installata" ] || [ ! -w "$installata/KORVADIN.INI" ]; then
    cartella="${XDG_DATA_HOME:-$HOME/.local/share}/korvadin"
    mkdir -p "$cartella"
    for file in korvadin KORVADIN.html; do
        if [ ! -e "$cartella/$file" ] || [ "$installata/$file" -nt "$cartella/$file" ]; then
            cp -p "$installata/$file" "$cartella/$file"
        fi
    done
    for file in KORVADIN.INI KORVADIN.mdb; do
        [ -e "$cartella/$file" ] || cp "$installata/$file" "$cartella/$file"
        chmod u+w "$cartella/$file"
    done
fi
cd "$cartella"
exec "$cartella/korvadin" "$@"
