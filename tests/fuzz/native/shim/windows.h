// Native fuzz builds only: transfer/item_path.cpp includes <windows.h> but calls nothing from
// it, so an empty header lets that file build unchanged on Linux. Only the item-path fuzzer's
// build puts this folder on the include path.
#pragma once
