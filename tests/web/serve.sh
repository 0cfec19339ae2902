# Sourced by the web tests' scripts: the headless Chromium to drive, a folder
# served on 127.0.0.1 for as long as the script runs, and what to tidy away
# when it ends.

# Commands run when the script exits, however it exits.
at_exit=()
run_at_exit() {
    local step
    for step in "${at_exit[@]}"; do eval "$step"; done
}
trap run_at_exit EXIT

# The browser's path in $browser; fails the test when there is none.
find_browser() {
    browser=$(command -v chromium-headless-shell || command -v chromium || true)
    if [[ -z $browser ]]; then
        echo "FAIL: no headless Chromium (tools/install-deps.sh --web installs it)" >&2
        exit 1
    fi
}

# serve FOLDER FILE: serves FOLDER on a free port, in $port (the server's
# process in $server_pid), and returns once FILE answers.
serve() {
    local folder=$1 file=$2
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    python3 -m http.server "$port" --bind 127.0.0.1 --directory "$folder" >/dev/null 2>&1 &
    server_pid=$!
    at_exit+=("kill $! 2>/dev/null || true")
    for _ in $(seq 50); do
        python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/$file')" \
            2>/dev/null && return 0
        sleep 0.1
    done
    echo "FAIL: http.server did not serve $folder on port $port" >&2
    exit 1
}
