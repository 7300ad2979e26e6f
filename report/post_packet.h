// One HTTP POST of a report packet with libcurl, judged by the server's answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/curl_write.h"

// True when the transfer completed and the answer says result=1 in its "common" section,
// whatever the HTTP status. Connecting and the whole transfer are limited to 20 s each.
bool PostPacket(const std::wstring& url, const std::vector<uint8_t>& packet, KEvent* event);
