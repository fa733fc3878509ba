#!/usr/bin/env bash
# Runs one of the project's commands as a new user of a Debian release would:
# from a fresh clone of this repository's checked-out commit, in a fresh
# minimal root of that release (debootstrap's minbase, with /proc, /sys and
# /dev mounted in it, entered with chroot), with nothing installed but what
# the command installs itself. Afterwards it ends whatever the command left
# running in the root, undoes its mounts and deletes the root, also when the
# command fails or the run is interrupted.
#
#   scripts/debian-root.sh [--commit COMMIT] [--results FOLDER] RELEASE [COMMAND [ARG...]]
#
# RELEASE: 12 or bookworm, 13 or trixie, or another codename debootstrap
# knows. COMMAND defaults to scripts/test.sh and runs in the clone, as root,
# with no display. KESTAVINE_NO_32BIT is passed on when set. --commit: the
# clone checks out that commit of this repository instead.
#
# What stays: the downloaded packages, in a cache this script names (delete it
# at will; KESTAVINE_ROOT_CACHE picks another place), and what the command
# made that is worth reading (test reports, the run's screenshot and
# transcript, the packed release in dist/), copied to build/debian-RELEASE/,
# which is emptied first, or to --results FOLDER, which must be empty or new.
#
# Exits with the command's status, or 77 (and one line saying why) when this
# machine cannot make or enter such a root: not root, mounts or chroot refused
# (a sandboxed kernel), or no way to fetch the release.
# shellcheck disable=SC2317 # the functions called on exit are reached
set -euo pipefail
usage="usage: scripts/debian-root.sh [--commit COMMIT] [--results FOLDER] RELEASE [COMMAND [ARG...]]"
commit='' results=''
while [[ ${1:-} == --* ]]; do
  case $1 in
    --commit) commit=${2:?$usage} ;;
    --results) results=$(realpath -m "${2:?$usage}") ;; # from the caller's folder
    *) echo "$usage" >&2 && exit 2 ;;
  esac
  shift 2
done
cd "$(dirname "$0")/.."
project=$PWD
not_run=77

release=${1:?$usage}
shift
case $release in
  12) release=bookworm ;;
  13) release=trixie ;;
esac
case $release in
  bookworm) name="Debian 12 (bookworm)" label=12 ;;
  trixie) name="Debian 13 (trixie)" label=13 ;;
  *) name="Debian $release" label=$release ;;
esac
(($#)) || set -- scripts/test.sh
mirror=${KESTAVINE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${KESTAVINE_ROOT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestavine-idle/debian-roots}/$release
if [[ -z $results ]]; then
  results=$project/build/debian-$label
elif [[ -n $(ls -A "$results" 2>/dev/null) ]]; then
  echo "--results $results: not empty; name an empty or new folder" >&2
  exit 2
fi
if [[ -n $commit ]] && ! git cat-file -e "$commit^{commit}" 2>/dev/null; then
  echo "$name root: commit $commit is not in this repository ($project)" >&2
  exit 2
fi

not_run() {
  echo "$name root: not run: $*"
  exit "$not_run"
}

# What this machine must allow, each checked before anything is made.
if [[ $(id -u) != 0 ]]; then
  sudo -n true 2>/dev/null || not_run "making a root needs root, or sudo without a password"
  exec sudo -n --preserve-env=KESTAVINE_NO_32BIT,KESTAVINE_ROOT_CACHE,KESTAVINE_DEBIAN_MIRROR "$0" \
    ${commit:+--commit "$commit"} --results "$results" "$release" "$@"
fi
chroot / true 2>/dev/null || not_run "this machine refuses chroot"
probe=$(mktemp -d)
if error=$(mount -t tmpfs kestavine-probe "$probe" 2>&1); then
  umount "$probe"
  rmdir "$probe"
else
  rmdir "$probe"
  error=${error%%$'\n'*} # the first line, without mount's "mount: <folder>: "
  not_run "this machine refuses mounts (${error##*: })"
fi
if ! command -v debootstrap >/dev/null; then
  echo "Installing debootstrap"
  { apt-get install -y -q --no-install-recommends debootstrap ||
    { apt-get update -q && apt-get install -y -q --no-install-recommends debootstrap; }; } >/dev/null 2>&1 ||
    not_run "debootstrap is not installed, and apt could not install it"
fi

mkdir -p "$cache/debs" "$cache/archives/partial"
root=$(mktemp -d "${TMPDIR:-/var/tmp}/kestavine-$release.XXXXXX")
mounts=() # what is mounted in the root, in mounting order

# The processes whose root is inside ours, in $pids.
root_processes() {
  local dir target
  pids=()
  for dir in /proc/[0-9]*; do
    target=$(readlink "$dir/root" 2>/dev/null) || continue
    [[ $target == "$root" || $target == "$root"/* ]] && pids+=("${dir#/proc/}")
  done
  return 0
}

cleanup() {
  local i
  root_processes
  if ((${#pids[@]})); then
    echo "Ending what still runs in the root: ${#pids[@]} processes"
    kill "${pids[@]}" 2>/dev/null || true
    for _ in $(seq 50); do
      root_processes
      ((${#pids[@]})) || break
      sleep 0.1
    done
    ((${#pids[@]} == 0)) || kill -KILL "${pids[@]}" 2>/dev/null || true
  fi
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" || true
  done
  if grep -qF " $root/" /proc/self/mounts; then
    echo "Left $root in place: something is still mounted in it" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount_in_root() {
  local target=$root/$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}

echo "== Making a fresh $name root in $root"
echo "   (downloads cached in $cache; delete it at will)"
started=$SECONDS
log=$(mktemp)
if ! debootstrap --variant=minbase --cache-dir="$cache/debs" "$release" "$root" "$mirror" >"$log" 2>&1; then
  reason=$(grep -E '^E:' "$log" | tail -n 1)
  rm -f "$log"
  not_run "debootstrap could not make the root (${reason:-see its log})"
fi
rm -f "$log"
made_in=$((SECONDS - started))

# The package sources a new installation of the release has.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb http://deb.debian.org/debian-security $release-security main
EOF
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
mount_in_root proc -t proc proc
mount_in_root sys -t sysfs sysfs
# /dev with /dev/pts and /dev/shm; as a slave, so that nothing mounted or
# unmounted in the root reaches the machine's own /dev.
mount_in_root dev --rbind /dev
mount --make-rslave "$root/dev"
mount_in_root var/cache/apt/archives --bind "$cache/archives"

clone=/root/kestavine-idle
git clone -q "$project" "$root$clone"
[[ -z $commit ]] || git -C "$root$clone" checkout -q --detach "$commit"
commit=$(git -C "$root$clone" rev-parse --short HEAD)
packages() { chroot "$root" dpkg-query -W -f '.\n' | wc -l; }
before=$(packages)

echo "== $name root: $* at $commit, from a fresh clone ($before packages, made in $made_in s)"
started=$SECONDS
status=0
# shellcheck disable=SC2016 # the command line is expanded in the root
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  ${KESTAVINE_NO_32BIT:+KESTAVINE_NO_32BIT=$KESTAVINE_NO_32BIT} \
  bash -c 'cd "$0" && exec "$@"' "$clone" "$@" &
wait $! || status=$? # a wait, which a signal interrupts, so that the clean-up follows at once
took=$((SECONDS - started))

# The reports, the screenshot and the transcript, and a packed release, to
# read after the root is gone.
[[ $results != "$project/build/debian-$label" ]] || rm -rf "$results"
mkdir -p "$results"
(cd "$root$clone/build" 2>/dev/null && find . -maxdepth 2 \( -name 'test-results*.xml' -o -name run \) -exec cp -r --parents {} "$results" \;) || true
[[ ! -d $root$clone/dist ]] || cp -r "$root$clone/dist" "$results/"

echo "== $name root: $* exited $status after $((took / 60)) min $((took % 60)) s; $((before)) packages before, $(packages) after; results in $results"
exit "$status"
