#!/usr/bin/env bash
# Saves one screenshot of the message box and of the installing page at 96 and at 192 DPI
# into docs/pages/ (message_box_96.png, message_box_192.png, installing_96.png,
# installing_192.png), taken by tests/process/pages_test.py from the i686 build.
#   page-shots.sh        (LW_BUILD_DIR chooses the build folder, default build/)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LW_BUILD_DIR:-$here/build}
export PATH="$here/scripts/wine-bin:$PATH"

bash "$here/scripts/build.sh" i686
bash "$here/scripts/wine-prefix.sh" template "$build/wine/template"
LW_PAGE_SHOTS="$here/docs/pages" ctest --test-dir "$build/i686" -R '^pages_test$' --output-on-failure
ls -l "$here/docs/pages"
