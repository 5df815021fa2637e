# Sourced by dev and the scripts: reads where a build folder keeps its
# programs from the programs.sh that CMake writes into it, and checks that
# the ones the caller starts are built.
#   . scripts/build-programs.sh
#   load_programs build-release marvix_terminal dxnode_sim
#   exec "$marvix_terminal"
load_programs() { # $1 build folder, then the names of the programs needed
  local build="$1"
  shift
  if [ ! -f "$build/programs.sh" ]; then
    echo "$build/programs.sh is missing: configure the build folder first" \
      "(cmake --preset release, or ./dev run)" >&2
    return 1
  fi
  # shellcheck source=/dev/null
  . "$build/programs.sh"
  local name
  for name in "$@"; do
    if [ ! -x "${!name}" ]; then
      echo "${!name} is not built: build $build first (cmake --build $build)" >&2
      return 1
    fi
  done
}
