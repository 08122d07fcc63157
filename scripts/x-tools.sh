#!/usr/bin/env bash
# Installs, where a command is missing, the Debian/Ubuntu package behind it: the tools the checks
# and screenshots on a virtual screen use.
#
#   bash scripts/x-tools.sh xvfb-run xdotool import
set -euo pipefail

declare -A package=(
  [xvfb-run]="xvfb xauth" [import]=imagemagick [convert]=imagemagick [xdotool]=xdotool
  [openbox]=openbox [xclip]=xclip [display]=imagemagick [setxkbmap]=x11-xkb-utils [xprop]=x11-utils [xwininfo]=x11-utils
)
need=()
for tool in "$@"; do
  [[ -n ${package[$tool]:-} ]] || { echo "x-tools.sh: no package known for $tool" >&2; exit 2; }
  # shellcheck disable=SC2206 # a tool may need two packages
  command -v "$tool" >/dev/null || need+=(${package[$tool]})
done
[ ${#need[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
