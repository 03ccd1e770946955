# Sourced by the scripts that run Windows programs (after steps.sh). Gives
# them a Wine prefix of their own, build/wine-prefix unless WINEPREFIX is set,
# creating it on first use, and one persistent Wine server with its services
# for the whole script, started apart from any pipe the programs' output goes
# into (services started by the first program would inherit that pipe and
# hold it open). At exit it stops that server only, and only if this script
# started it: other prefixes, and a server that was already running, are
# left alone.
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-prefix}
export WINEDEBUG=-all

create_wine_prefix() {
  # wineboot leaves a short-lived server behind; waiting for it to end lets
  # the persistent one below be this script's own.
  mkdir -p "$(dirname "$WINEPREFIX")" && wineboot --init && wineserver -w
}

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "creating the Wine prefix $WINEPREFIX"
  step "creating the Wine prefix $WINEPREFIX" create_wine_prefix
fi

wine_server_status=0
wineserver -p </dev/null >/dev/null 2>&1 || wine_server_status=$?
case $wine_server_status in
0) trap 'wineserver -k >/dev/null 2>&1 || true' EXIT ;;
2) ;; # a server for this prefix is running already: use it, leave it be
*)
  echo "$script_name: starting the Wine server for $WINEPREFIX failed" \
    "(exit $wine_server_status)" >&2
  exit 1
  ;;
esac
step "starting Wine's services" wine cmd /c exit
