# Sourced by run.sh, test.sh and package.sh: installs the Debian/Ubuntu
# packages that are missing, and nothing when all are there.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the program needs: the compiler, CMake, Qt 6 and
# fonts that fit the fixed layouts and render the Thai help page.
RUN_PACKAGES=(g++ make cmake qt6-base-dev libxkbcommon-dev
              fonts-dejavu-core fonts-liberation2 fonts-thai-tlwg)

# What making and checking the Debian package needs besides: dpkg-shlibdeps
# and dpkg-buildflags, file (which CPack uses to find the binaries), lintian
# and the desktop-entry and AppStream validators.
PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream)
