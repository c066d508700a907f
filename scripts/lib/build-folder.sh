# Sourced by the scripts that build or use a build: sets $build, the build folder.
# $TX_BUILD_DIR if given, else ./build, or ./build-san for the sanitizer build
# (TX_SANITIZE=ON: address and undefined-behaviour sanitizers, see scripts/build).
tx_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if [ "${TX_SANITIZE:-OFF}" = ON ]; then
  build=${TX_BUILD_DIR:-$tx_top/build-san}
else
  build=${TX_BUILD_DIR:-$tx_top/build}
fi
