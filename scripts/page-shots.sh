#!/usr/bin/env bash
# Saves one screenshot of the message box, the installing page and the three uninstall pages
# at 96 and at 192 DPI into docs/pages/ (message_box_96.png, message_box_192.png,
# installing_96.png, installing_192.png, uninstall_96.png, uninstalling_96.png,
# uninstalled_96.png and their _192 twins), taken by tests/process/pages_test.py and
# tests/process/uninstall_pages_test.py from the i686 build.
#   page-shots.sh        (LW_BUILD_DIR chooses the build folder, default build/)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"

bash "$here/scripts/build.sh" i686
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
LW_PAGE_SHOTS="$here/docs/pages" ctest --test-dir "$build/i686" -R '^(pages_test|uninstall_pages_test)$' --output-on-failure
ls -l "$here/docs/pages"
