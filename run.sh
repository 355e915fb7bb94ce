#!/usr/bin/env bash
# Installs what is missing, builds, and starts Redhollow from the folder holding its archives.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
install_missing_packages
build_release
cd "$ROOT/build"
exec ./redhollow
