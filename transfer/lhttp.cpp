#include "transfer/lhttp.h"

#include <httplib.h>

#include <windows.h>

#include <climits>
#include <cstdint>

#include "base/handles.h"
#include "base/string_util.h"

namespace {

// A Content-Length that is not a plain decimal number fitting a 32-bit int counts as absent.
int ParseContentLength(const std::string& text) {
    if (text.empty() || text.size() > 10) return 0;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value > INT_MAX ? 0 : static_cast<int>(value);
}

int ClampToInt(int64_t value) { return value > INT_MAX ? INT_MAX : static_cast<int>(value); }

}  // namespace

void LHttp::OnProgress(int, int) {}

void LHttp::OnFinished(bool) {}

bool LHttp::ParseUrl(const std::string& url) {
    size_t schemeLength = 0;
    if (StartsWithNoCaseA(url, "http://")) {
        schemeLength = 7;
    } else if (StartsWithNoCaseA(url, "https://")) {
        schemeLength = 8;
    } else {
        return false;
    }
    const size_t slash = url.find('/', schemeLength);
    if (slash == std::string::npos) return false;
    std::string authority = url.substr(schemeLength, slash - schemeLength);
    int explicitPort = 0;
    // A port written after the host ("h:8080", "[::1]:8080") is the port to use.
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        const std::string digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        explicitPort = std::stoi(digits);
        if (explicitPort < 1 || explicitPort > 65535) return false;
        authority.resize(colon);
    }
    host = authority;
    path = url.substr(slash);
    if (schemeLength == 8) {
        port = 443;
        secure = true;
    }
    if (explicitPort) port = explicitPort;
    if (path.find('?') == std::string::npos) path += '?';
    for (const auto& [name, value] : params) {
        if (path.back() != '?' && path.back() != '&') path += '&';
        path += name + "=" + value;
    }
    return true;
}

bool LHttp::Download(const std::string& url, const std::string& savePath,
                     std::wstring* errorText) {
    std::wstring ignored;
    std::wstring& error = errorText ? *errorText : ignored;
    bool result = false;
    int64_t received = 0;
    int total = 0;
    if (!ParseUrl(url)) {
        error = L"parse url fail";
        return false;
    }

    // Creating the file empties one left by an earlier attempt.
    UniqueFileHandle file(CreateFileA(savePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = L"open file fail";
        OnFinished(false);
        return false;
    }

    bool statusFailed = false;
    bool writeFailed = false;
    httplib::Result outcome = [&] {
        httplib::Client client(host, port);
        return client.Get(
            path,
            [&](const httplib::Response& response) {
                result = response.status == 200;
                if (!result) {
                    statusFailed = true;
                    error = L"http code:" + std::to_wstring(response.status);
                } else if (response.has_header("Content-Length")) {
                    total = ParseContentLength(response.get_header_value("Content-Length"));
                    OnProgress(0, total);
                }
                return true;
            },
            [&](const char* data, size_t length) {
                DWORD written = 0;
                // Only what reached the file counts; a short write (a full disk) ends the
                // transfer instead of leaving a truncated package that looks complete.
                if (!WriteFile(file.get(), data, static_cast<DWORD>(length), &written, nullptr) ||
                    written != length) {
                    received += written;
                    writeFailed = true;
                    return false;
                }
                received += written;
                OnProgress(ClampToInt(received), total);
                return true;
            });
    }();
    file.reset();

    if (writeFailed) {
        result = false;
        error = L"write file fail";
    } else if (statusFailed) {
        result = false;
    } else if (total <= 0) {
        // A body without a length is complete only when the library saw its end.
        if (result && outcome.error() != httplib::Error::Success) {
            result = false;
            error = L"connection lost before end of body";
        } else {
            error = L"file size is zero";
        }
    } else {
        result = total == received;
        if (!result) error = L"file size != recive size";
    }
    OnFinished(result);
    return result;
}
