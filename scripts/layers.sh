#!/usr/bin/env bash
# layers.sh [SOURCE_ROOT]: fails when a source file includes a layer above its own.
# Dependencies point down only: client, restore -> webtools, widgets, skin, core -> socket ->
# platform. Each folder lists the folders of ours it may include (its own is always allowed);
# socket and core reach only part of platform (PLATFORM_MAY).
# The restore tool's one window is the client's backup window, so restore may use client.
set -uo pipefail
ROOT="$(cd "${1:-$(dirname "$0")/..}" && pwd)"
OURS="platform socket core widgets webtools skin client restore"
declare -A MAY=(
  [platform]=""
  [socket]="platform"
  [skin]="platform"
  [core]="socket platform"
  [widgets]="socket skin platform"
  [webtools]="core widgets skin socket platform"
  [client]="webtools widgets skin core socket platform"
  [restore]="client webtools widgets skin core socket platform"
)
# Within platform, the folders socket and core may use: the run-time library (components,
# events, the message pump) and the database access, never the window library.
declare -A PLATFORM_MAY=(
  [socket]="rtl"
  [core]="rtl db"
)
bad=0
for layer in $OURS; do
  [ -d "$ROOT/$layer" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([a-z]+)\/.*/\1/' <<<"$text")
    [ "$target" = "$layer" ] && continue
    case " $OURS " in *" $target "*) ;; *) continue ;; esac
    rel="${file#"$ROOT"/}"
    header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/' <<<"$text")
    if [ "$target" = platform ] && [ -n "${PLATFORM_MAY[$layer]+x}" ]; then
      sub=$(cut -d/ -f2 <<<"$header")
      case " ${PLATFORM_MAY[$layer]} " in *" $sub "*) continue ;; esac
      echo "$rel:$line: $layer includes platform/$sub: ${text#"${text%%[![:space:]]*}"}"
      bad=1
      continue
    fi
    case " ${MAY[$layer]} " in *" $target "*) continue ;; esac
    echo "$rel:$line: $layer includes $target: ${text#"${text%%[![:space:]]*}"}"
    bad=1
  done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' \
             '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][a-z]+/' "$ROOT/$layer")
done
[ "$bad" = 0 ] && echo "layers: every include points down"
exit "$bad"
