# Sourced by the scripts that run Windows programs: starts one Wine server and
# its services for the whole script, apart from any pipe the programs' output
# goes into (services started by the first program would inherit that pipe
# and hold it open), and stops them when the script exits.
export WINEDEBUG=-all
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
