# Sourced by the test scripts: a printer for the print tests. Uses the CUPS
# scheduler that runs, or starts one (there is no systemd on CI) and stops
# that one afterwards, by its process id only: a scheduler someone else
# started is theirs. Adds a CUPS-PDF queue and makes it the default; Wine
# lists it without a new prefix. Pages land in ~/PDF of the printing user,
# which KALDERO_PDF_DIR names for the tests as a Windows path.
KALDERO_PRINTER=KalderoPDF
KALDERO_CUPSD_PID=""

scheduler_runs() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }

ensure_printer() {
  local home
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  export KALDERO_PDF_DIR="$(winepath -w "${home:-$HOME}/PDF" 2>/dev/null)"
  if ! command -v lpstat >/dev/null || [ ! -x /usr/sbin/cupsd ]; then
    export KALDERO_NO_PRINTER="CUPS is not installed (scripts/setup.sh installs it)"
    return 0
  fi
  if ! scheduler_runs; then
    /usr/sbin/cupsd -f >/dev/null 2>&1 &
    KALDERO_CUPSD_PID=$!
    for _ in $(seq 1 100); do
      scheduler_runs && break
      # Gone at once: another one won the race for the socket, use that one.
      kill -0 "$KALDERO_CUPSD_PID" 2>/dev/null || { KALDERO_CUPSD_PID=""; sleep 0.5; break; }
      sleep 0.1
    done
  fi
  if ! scheduler_runs; then
    export KALDERO_NO_PRINTER="the CUPS scheduler does not start"
    return 0
  fi
  if ! lpstat -v "$KALDERO_PRINTER" >/dev/null 2>&1; then
    lpadmin -p "$KALDERO_PRINTER" -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null ||
      { export KALDERO_NO_PRINTER="lpadmin cannot add a CUPS-PDF queue"; return 0; }
  fi
  # A queue stopped by an earlier failure takes jobs again.
  cupsenable "$KALDERO_PRINTER" 2>/dev/null || true
  cupsaccept "$KALDERO_PRINTER" 2>/dev/null || true
  lpadmin -d "$KALDERO_PRINTER" 2>/dev/null || true
  unset KALDERO_NO_PRINTER
}

# Waits (at most 30 s) until the queue holds no job: a page of an earlier
# test that is still being written would pass for a page of the next one.
wait_printer_idle() {
  [ -n "${KALDERO_NO_PRINTER:-}" ] && return 0
  for _ in $(seq 1 150); do
    [ -z "$(lpstat -o "$KALDERO_PRINTER" 2>/dev/null)" ] && return 0
    sleep 0.2
  done
}

stop_printer() {
  if [ -n "$KALDERO_CUPSD_PID" ]; then
    kill "$KALDERO_CUPSD_PID" 2>/dev/null
    wait "$KALDERO_CUPSD_PID" 2>/dev/null
  fi
  KALDERO_CUPSD_PID=""
}
