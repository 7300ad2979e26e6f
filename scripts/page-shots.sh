#!/usr/bin/env bash
# Saves one screenshot of every page at 96 and at 192 DPI into docs/pages/ as
# <page>_<dpi>.png: install (and install_directory, install_en, install_ja), message_box,
# installing, installed, installed_failed, uninstall, uninstalling, uninstalled. Taken by
# tests/process/pages_test.py, install_pages_test.py and uninstall_pages_test.py from the
# i686 build.
#   page-shots.sh        (LW_BUILD_DIR chooses the build folder, default build/)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"

bash "$here/scripts/build.sh" i686
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
LW_PAGE_SHOTS="$here/docs/pages" ctest --test-dir "$build/i686" -R '^(pages_test|install_pages_test|uninstall_pages_test)$' --output-on-failure
ls -l "$here/docs/pages"
