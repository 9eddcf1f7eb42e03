# Shell functions shared by scripts/run and scripts/screenshots: a station
# folder beside the build, and simulated units the station finds as it
# finds USB serial ports. Source it from the repository's root.

ZEK_BUILD=${ZEK_BUILD:-build}
ZEK_SIM_PID=

# Builds what the station run needs (setting up first on a fresh machine).
station_build() {
  [[ -f $ZEK_BUILD/build.ninja ]] || scripts/setup
  cmake --build "$ZEK_BUILD" -j 4 --target DorvikLumo_ZEK DorvikLumo_ZEK_zh dorvik410-sim \
    make_demo_firmware "$@"
}

# station_folder DIR: the programs (as links), a Log folder and a firmware
# file the simulated units take.
station_folder() {
  local dir=$1
  mkdir -p "$dir/Log"
  ln -sfn "$PWD/$ZEK_BUILD/station/window/DorvikLumo_ZEK" "$dir/DorvikLumo_ZEK"
  ln -sfn "$PWD/$ZEK_BUILD/station/window/DorvikLumo_ZEK_zh" "$dir/DorvikLumo_ZEK_zh"
  [[ -f $dir/DKxLumZEK.FWR ]] || "$ZEK_BUILD/tools/demo-station/make_demo_firmware" "$dir/DKxLumZEK.FWR"
}

# start_units DIR N [SIM OPTIONS...]: N simulated units with links
# DIR/com/COM1..COMn, and a device tree DIR/sysfs that lists each as a USB
# serial port, so the station's port scan finds all of them (the
# connection file names at most nine slots). Exports ZEK_COM_DIR and
# ZEK_SYSFS_ROOT. The units stop with stop_units.
start_units() {
  local dir=$1 count=$2
  shift 2
  rm -rf "$dir/com" "$dir/sysfs"
  mkdir -p "$dir/com" "$dir/sysfs/class/tty"
  local out="$dir/sim.out"
  "$ZEK_BUILD/tools/unit-sim/dorvik410-sim" --dir "$dir/com" -n "$count" "$@" >"$out" 2>&1 &
  ZEK_SIM_PID=$!
  local i
  for ((i = 0; i < 100; ++i)); do
    grep -q '^ready' "$out" 2>/dev/null && break
    kill -0 "$ZEK_SIM_PID" 2>/dev/null || { cat "$out" >&2; return 1; }
    sleep 0.1
  done
  grep -q '^ready' "$out" || { echo "simulated units did not start" >&2; return 1; }
  for ((i = 1; i <= count; ++i)); do
    local tty="$dir/sysfs/class/tty/ttyUSB$((i - 1))" hex
    mkdir -p "$tty/device"
    read -r -a hex < <(stat -L -c '%t %T' "$dir/com/COM$i")
    printf '%d:%d\n' "0x${hex[0]}" "0x${hex[1]}" >"$tty/dev"
    ln -sfn ../../../../bus/usb-serial/drivers/ftdi_sio "$tty/device/driver"
  done
  export ZEK_COM_DIR="$dir/com" ZEK_SYSFS_ROOT="$dir/sysfs"
}

stop_units() {
  if [[ -n $ZEK_SIM_PID ]]; then
    kill -TERM "$ZEK_SIM_PID" 2>/dev/null || true
    wait "$ZEK_SIM_PID" 2>/dev/null || true
    ZEK_SIM_PID=
  fi
}
