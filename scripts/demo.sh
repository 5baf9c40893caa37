#!/usr/bin/env bash
# The demo: builds everything, starts the cloud emulator seeded with the demo captures,
# syncs them with quillory-sync into a demo account folder and shows what arrived.
# Needs no input; the account folder is demo/account (rebuilt on every run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${QUILLORY_DEMO_BUILD_DIR:-build}

echo "== building (scripts/build.sh $build)"
if ! bash scripts/build.sh "$build"; then
  # The demo needs only these two; a broken desktop part need not stop it.
  echo "== the full build failed; building the emulator and quillory-sync only"
  cmake --build "$root/$build" -j "$(nproc)" --target quillory-cloud quillory-sync
fi
cloud="$root/$build/tools/cloud-emulator/quillory-cloud"
sync="$root/$build/tools/quillory-sync/quillory-sync"

demo="$root/demo"
rm -rf "$demo"
mkdir -p "$demo/seed"
# The captures get created times an hour apart, newest last.
stamp=$(( $(date +%s) - 3600 * 12 ))
for file in tools/cloud-emulator/demo/captures/*; do
  cp "$file" "$demo/seed/"
  touch -d "@$stamp" "$demo/seed/$(basename "$file")"
  stamp=$((stamp + 3600))
done

user=demo@quillory.example
export QUILLORY_PASSWORD=demo-password
echo "== starting quillory-cloud with $(ls "$demo/seed" | wc -l) demo captures"
"$cloud" --port 0 --ca-out "$demo/ca.pem" --user "$user" --password "$QUILLORY_PASSWORD" \
  --seed "$demo/seed" >"$demo/cloud.port" 2>"$demo/cloud.log" </dev/null &
cloud_pid=$!
stop_cloud() { kill "$cloud_pid" 2>/dev/null || true; wait "$cloud_pid" 2>/dev/null || true; }
trap stop_cloud EXIT
for _ in $(seq 100); do
  [[ -s "$demo/cloud.port" ]] && break
  kill -0 "$cloud_pid" 2>/dev/null || { cat "$demo/cloud.log"; exit 1; }
  sleep 0.1
done
port=$(head -n 1 "$demo/cloud.port")
[[ "$port" =~ ^[0-9]+$ ]] || { echo "quillory-cloud did not start"; cat "$demo/cloud.log"; exit 1; }
export QUILLORY_CONNECT_TO=127.0.0.1:$port QUILLORY_CA_FILE=$demo/ca.pem
echo "   listening on 127.0.0.1:$port"

echo
echo "== quillory-sync sync --folder demo/account --user $user"
"$sync" sync --folder "$demo/account" --user "$user" </dev/null

echo
echo "== quillory-sync list --folder demo/account   (id, created, name, tag)"
"$sync" list --folder "$demo/account"

echo
echo "== the files in demo/account/Data"
ls -l "$demo/account/Data"

echo
echo "== a tag on the newest text clip, then a second sync (uploads the tag, nothing else changes)"
newest=$("$sync" list --folder "$demo/account" | awk -F'\t' '$3 ~ /\.txt$/ {print $2 "\t" $1}' | sort -n | tail -n 1 | cut -f2)
"$sync" tag --folder "$demo/account" --id "$newest" --text "Demo tag ✓"
"$sync" sync --folder "$demo/account" --user "$user" </dev/null
echo "(no lines above: no capture arrived or left)"
"$sync" list --folder "$demo/account" | awk -F'\t' -v id="$newest" '$1 == id'

echo
echo "== done; the account folder stays in demo/account"
