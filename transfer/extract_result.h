// Result codes of an extraction (CArchiveExtractor::ExtractFromFile / ExtractFromMemory) and
// the lastError text that goes with each.
//
//   0  every item extracted                                     empty
//   2  the 7z handler could not be created                      empty
//   3  the archive file does not exist or cannot be read        empty
//   4  the data could not be opened as a 7z archive             empty
//   5  an item's path property is neither empty nor a string    empty
//   6  a file at an item's target path could not be deleted     "DeleteFileAlways fail, code:<system error>"
//   7  an item's output file could not be created               "Create_ALWAYS fail, code:<system error>"
//   8  memory input without data or of size 0                   empty
//   9  an item's path would leave the output directory          "unsafe item path:<path in the archive>"
//      (a "..", "...", ".. " component, a drive letter or other ":", or a leading "\" or
//      "/"); found before anything is written, and no path of the archive from that item
//      on enters itemPaths
//  10  the extraction stopped without one of the causes above   the callback's text, or
//      (a password was asked for, an item property could not    "extract fail, hr:0x<HRESULT>"
//      be read, an output file could not be written or closed)  when it has none
//  30..37  7-Zip's operation result 1..8 for an item: unsupported method, data error, CRC
//      error, data unavailable, unexpected end, data after the end, not an archive, headers
//      error; lastError is empty
#pragma once

enum ExtractResult {
    kExtractOk = 0,
    kExtractNoHandler = 2,
    kExtractCannotOpenFile = 3,
    kExtractNotAnArchive = 4,
    kExtractBadItemPath = 5,
    kExtractCannotDelete = 6,
    kExtractCannotCreate = 7,
    kExtractNoData = 8,
    kExtractUnsafeItemPath = 9,
    kExtractStopped = 10,
    kExtractOperationResultBase = 29,  // + 7-Zip's operation result 1..8
};
