# Sourced by scripts/run and scripts/screenshots: a sandbox of the program's folders
# and the stand-in web service.

# enter_sandbox <folder>: every per-user and machine-wide folder inside the sandbox.
enter_sandbox() {
  local sandbox=$1
  mkdir -p "$sandbox"/{home,runtime,support,volumes/BackupDrive}
  chmod 700 "$sandbox/runtime"
  export HOME="$sandbox/home"
  export XDG_DATA_HOME="$sandbox/home/.local/share"
  export XDG_CONFIG_HOME="$sandbox/home/.config"
  export XDG_CACHE_HOME="$sandbox/home/.cache"
  export XDG_RUNTIME_DIR="$sandbox/runtime"
  export TX_SUPPORT_ROOT="$sandbox/support"
  export TX_VOLUMES_ROOT="$sandbox/volumes"
}

# start_webservice <folder> <build>: the stand-in web service on loopback, with the
# sandbox's own test authority, which the client trusts through ${SUPPORT}/webservice/ca.pem.
# It is stopped when the script ends.
start_webservice() {
  local webservice=$1/webservice build=$2 top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  webservice_port=47443
  "$top/tools/webservice/make-certificates.sh" "$webservice/certificates"
  mkdir -p "$TX_SUPPORT_ROOT/webservice"
  cp "$webservice/certificates/ca.pem" "$TX_SUPPORT_ROOT/webservice/ca.pem"
  [ -f "$webservice/accounts.json" ] || cp "$top/tools/webservice/demo-accounts.json" "$webservice/accounts.json"
  "$build/bin/txwebservice" --certificates "$webservice/certificates" --config "$webservice/accounts.json" \
    --port "$webservice_port" --log "$webservice/requests.log" >"$webservice/service.out" 2>&1 &
  webservice_pid=$!
  trap 'kill "$webservice_pid" 2>/dev/null; wait "$webservice_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do
    grep -q '^webservice ' "$webservice/service.out" 2>/dev/null && return 0
    kill -0 "$webservice_pid" 2>/dev/null || { cat "$webservice/service.out" >&2; exit 1; }
    sleep 0.1
  done
}
