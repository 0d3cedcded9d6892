# Shared by run.sh and test.sh: installs the Debian packages that are missing, and builds.
# Sourced, not run; expects bash with "set -euo pipefail".

LIROBEL_PACKAGES=(
    g++ cmake ninja-build          # compiler and build tools
    qt6-base-dev                   # Qt 6 Core, Widgets and Test, with the offscreen and X11 platforms
    libgtest-dev libbenchmark-dev  # tests and benchmarks
    clang-format                   # the code's layout is checked as a test
    fonts-wqy-microhei             # so that Chinese and kana render instead of boxes
    qt6-translations-l10n          # Qt's own dialogs and buttons in Chinese (a window test checks them)
    libmecab-dev                   # MeCab, which reads the kanji of Japanese lyrics
    mecab-ipadic-utf8              # its dictionary (the one LIROBEL_JAPANESE_DICTIONARY_PACKAGE names)
    libsqlite3-dev                 # reading by words: the phrase database
    unicode-data libbz2-dev        # reading by words: rare characters' readings (Unihan, packed with bzip2)
    libopencc-dev pkg-config       # reading by words: traditional characters to simplified (t2s)
    pinyin-database                # reading by words: Chinese words with readings and frequencies
    dpkg-dev file                  # cpack -G DEB: dpkg-shlibdeps computes the package's dependencies
    desktop-file-utils appstream   # the desktop entry and the metainfo file are validated as tests
    libxml2-utils shared-mime-info # the VSQX file type is checked and compiled into a test folder
    groff-base                     # the manual page of lirobel-cli is rendered as a test
    librsvg2-bin                   # the icon is rendered at 16 pixels as a test
    libzip-dev zlib1g-dev          # .vpr projects are ZIP archives, their sequence deflated with zlib
)

lirobel_install_missing_packages() {
    local missing=()
    local package
    for package in "${LIROBEL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "These Debian packages are missing: ${missing[*]}. Run this script as root or install sudo." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# lirobel_build FOLDER BUILD_TYPE [CMAKE_OPTION...]
lirobel_build() {
    local folder=$1 type=$2
    shift 2
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
    cmake --build "$folder" --parallel "$(nproc)"
}
