# Sourced by scripts/run and scripts/screenshots: a sandbox of the program's folders,
# the stand-in web service, and the stop of what the script started when it ends.

# on_exit <function>: runs the function when the script (or subshell) ends, after the
# ones registered later.
tx_exit_functions=()
on_exit() {
  tx_exit_functions=("$1" "${tx_exit_functions[@]}")
  trap run_exit_functions EXIT
}
run_exit_functions() {
  local function
  for function in "${tx_exit_functions[@]}"; do "$function"; done
}

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
  on_exit stop_webservice
  for _ in $(seq 50); do
    grep -q '^webservice ' "$webservice/service.out" 2>/dev/null && return 0
    kill -0 "$webservice_pid" 2>/dev/null || { cat "$webservice/service.out" >&2; exit 1; }
    sleep 0.1
  done
}

# start_daemon <folder> <build>: the stand-in backup daemon of this user (tools/daemon/README.md),
# stopped when the script ends (a running scheduled backup ends as cancelled).
start_daemon() {
  local sandbox_folder=$1 build=$2
  "$build/bin/txdaemon" >"$sandbox_folder/daemon.out" 2>&1 &
  daemon_pid=$!
  on_exit stop_daemon
  for _ in $(seq 50); do
    grep -q '^txdaemon running' "$sandbox_folder/daemon.out" 2>/dev/null && return 0
    kill -0 "$daemon_pid" 2>/dev/null || { cat "$sandbox_folder/daemon.out" >&2; return 1; }
    sleep 0.1
  done
}

# start_monitor <folder> <build>: the tray program of this user, marked as this script's
# (mark_session), so that it ends with the script like the one the client would start.
start_monitor() {
  local sandbox_folder=$1 build=$2
  "$build/bin/TarnixVidezudMonitor" >"$sandbox_folder/monitor.out" 2>&1 &
}

stop_daemon() {
  kill "$daemon_pid" 2>/dev/null
  wait "$daemon_pid" 2>/dev/null || true
}

stop_webservice() {
  kill "$webservice_pid" 2>/dev/null
  wait "$webservice_pid" 2>/dev/null || true
}

# mark_session: marks every program started from here on, so that the monitor the
# client starts (detached, in a session of its own) is known as this script's and
# stopped when it ends. A monitor of another sandbox or session lacks the mark.
mark_session() {
  TX_RUN_SESSION="$$.$(date +%s%N)"
  export TX_RUN_SESSION
  on_exit stop_session_monitors
}

# session_monitors: the ids of this user's monitors (either brand) that carry the mark.
session_monitors() {
  local folder name program
  for folder in /proc/[0-9]*; do
    [ -O "$folder" ] || continue
    # The short name (cut to 15 characters) is read without starting a program: a busy
    # machine has hundreds of processes, and one readlink each took many seconds.
    read -r name 2>/dev/null <"$folder/comm" || continue
    case $name in TarnixVidezudMo* | QuellonVidezudM*) ;; *) continue ;; esac
    program=$(readlink "$folder/exe" 2>/dev/null) || continue
    program=${program% (deleted)}
    case ${program##*/} in TarnixVidezudMonitor | QuellonVidezudMonitor) ;; *) continue ;; esac
    if grep -qzxF "TX_RUN_SESSION=$TX_RUN_SESSION" "$folder/environ" 2>/dev/null; then
      echo "${folder#/proc/}"
    fi
  done
}

# stop_session_monitors: asks the marked monitors to end, and ends those still there after 3 s.
stop_session_monitors() {
  local pids pid
  pids=$(session_monitors)
  [ -n "$pids" ] || return 0
  kill -TERM $pids 2>/dev/null || true
  for _ in $(seq 30); do
    pids=$(for pid in $pids; do if kill -0 "$pid" 2>/dev/null; then echo "$pid"; fi; done)
    [ -n "$pids" ] || return 0
    sleep 0.1
  done
  kill -KILL $pids 2>/dev/null || true
}
