#!/bin/sh
# Runs a command in a throwaway copy of this machine: a private mount namespace whose root is an
# overlay over /, so that whatever the command installs or writes is gone when it ends and the
# machine (and its package database) is never touched.
#   scripts/with-throwaway-root.sh [-k FOLDER]... command [arguments...]
# -k keeps FOLDER (a path without blanks): inside, it is the machine's own folder, so what the
# command writes there stays. The command runs as root in the current folder. Needs root and
# overlay mounts.
set -eu

keep=
while [ $# -gt 0 ]; do
    case "$1" in
        -k) keep="$keep $(cd "$2" && pwd)"; shift 2 ;;
        *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "usage: $0 [-k FOLDER]... command [arguments...]" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/throwaway-root.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/upper" "$work/work" "$work/root"

# shellcheck disable=SC2016  # expanded by the inner shell
unshare --mount --propagation private sh -eu -c '
    work=$1 keep=$2 here=$3
    shift 3
    root=$work/root
    mount -t overlay throwaway -o "lowerdir=/,upperdir=$work/upper,workdir=$work/work" "$root"
    mount --bind /proc "$root/proc"
    for dir in /sys /dev; do mount --rbind "$dir" "$root$dir"; done
    for dir in $keep; do mount --bind "$dir" "$root$dir"; done
    exec chroot "$root" sh -c "cd \"\$0\" && exec \"\$@\"" "$here" "$@"
' throwaway "$work" "$keep" "$PWD" "$@"
