// The installer's version, shown as the product version in reports and the version block.
#pragma once

#define LW_VERSION_NUMBERS 1, 1, 0, 1
#define LW_VERSION_TEXT "1.1.0.1"
