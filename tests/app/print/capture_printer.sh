#!/usr/bin/env bash
# A printer for the print tests: a CUPS server of the tests' own, on a socket in the
# given folder, with one queue whose backend keeps every job it receives as a file
# (jobs/<job id>.ps). Wine finds the queue through CUPS_SERVER, as it finds any CUPS
# printer, and offers it as the default printer.
#
#   capture_printer.sh start DIR    starts the server and creates the queue
#   capture_printer.sh stop DIR     stops the server
set -euo pipefail
cmd=$1
dir=$2
queue=QuarrixCapture

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null || true
    # It writes its state on the way out: gone before its folder is used again.
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$dir/cupsd.pid"
  fi
}

if [ "$cmd" = stop ]; then
  stop
  exit 0
fi

stop
rm -rf "$dir"
mkdir -p "$dir"/{etc,bin/backend,spool,tmp,cache,state,log,jobs}
dir=$(cd "$dir" && pwd)
# Jobs run through the helpers of the system's CUPS; the backend is ours.
ln -s /usr/lib/cups/daemon "$dir/bin/daemon"
ln -s /usr/lib/cups/notifier "$dir/bin/notifier"
mkdir -p "$dir/bin/filter"
cat >"$dir/bin/backend/qrxcapture" <<'BACKEND'
#!/bin/sh
# No arguments: CUPS asks which devices this backend offers.
if [ $# -eq 0 ]; then
  echo 'direct qrxcapture "Unknown" "Print capture"'
  exit 0
fi
# Each job as it came (.ps), as a PDF (.pdf), its text (.txt) and its words with their
# boxes in points (.html). The text file comes last: once it is there, the job is complete.
out=${DEVICE_URI#qrxcapture:}
part="$out/.$1"
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$part.ps" || exit 1
ps2pdf "$part.ps" "$part.pdf" && pdftotext -layout "$part.pdf" "$part.txt" &&
  pdftotext -bbox "$part.pdf" "$part.html" || exit 1
for ext in ps pdf html txt; do mv "$part.$ext" "$out/$1.$ext"; done
BACKEND
# Owner-only: CUPS runs such a backend as root, who can write the jobs folder.
chmod 700 "$dir/bin/backend/qrxcapture"

cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
ServerBin $dir/bin
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
SystemGroup root
Sandboxing Relaxed
Printcap $dir/printcap
CONF
cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
Browsing No
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
chmod 755 "$dir" "$dir/etc"
chmod 644 "$dir/etc/"*.conf

/usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"
export CUPS_SERVER=$dir/cups.sock
# lpstat answers even while no scheduler listens yet; what it says tells.
for _ in $(seq 1 200); do
  lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
  sleep 0.1
done
lpadmin -p "$queue" -E -v "qrxcapture:$dir/jobs" 2>>"$dir/log/lpadmin.out"
lpadmin -d "$queue"
cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true
lpstat -p "$queue" >/dev/null
