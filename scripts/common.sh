# Shared by run.sh and test.sh: install what is missing, then configure and
# build one build directory.

KAIMO_PACKAGES=(g++ clang cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev xz-utils)
# The release build (build/release, of run.sh and test.sh) is compiled by
# clang++: Debian's clang 14 makes the searches 3 to 10 % faster than g++ 12,
# the same values and the same bench signature. The sanitizer builds stay
# with g++, so the code is kept warning-free under both.
KAIMO_RELEASE_OPTIONS=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++)
# The window: Qt with its own texts in Japanese and Qt Multimedia for its
# sounds, a font with the Japanese texts, and a virtual screen for screenshots.
KAIMO_PACKAGES+=(qt6-base-dev qt6-multimedia-dev qt6-translations-l10n fonts-noto-cjk xvfb xauth)
# The install test validates the AppStream metadata.
KAIMO_PACKAGES+=(appstream)

# Installs the Debian packages that are not installed yet (none: no apt-get).
kaimo_install_packages() {
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# kaimo_build DIR [cmake options...]; KAIMO_TARGETS limits the build to
# those targets (all of them when unset).
kaimo_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  local targets=()
  [ -n "${KAIMO_TARGETS:-}" ] && targets=(--target ${KAIMO_TARGETS})
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}
