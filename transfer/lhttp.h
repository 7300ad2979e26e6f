// Downloads one file over plain HTTP/1.1 and streams it to disk block by block.
//
// LHttp is a mix-in: a page derives from it and overrides OnProgress to show how far the
// transfer has come. Download runs on the calling thread and calls both notifications there.
//
// Outcomes of Download (result, errorText afterwards):
//   URL without "http://" or "https://", or nothing after the host  false "parse url fail"
//   the file cannot be created                                      false "open file fail"
//   status other than 200                                           false "http code:<status>"
//   a block could not be written in full to the file                false "write file fail"
//   status 200, no Content-Length, connection lost inside the body  false "connection lost before end of body"
//   no response at all                                              false "file size is zero"
//   status 200 without a usable Content-Length                      true  "file size is zero"
//   status 200, body shorter than Content-Length                    false "file size != recive size"
//   status 200, whole body received                                 true  unchanged
// OnFinished is called once with the result, except when the URL does not parse. The file
// is left in place whatever the result.
#pragma once

#include <string>
#include <utility>
#include <vector>

class LHttp {
public:
    virtual void OnProgress(int received, int total);
    virtual void OnFinished(bool ok);

    bool Download(const std::string& url, const std::string& savePath, std::wstring* errorText);
    // Splits url into host and path; port 443 and secure for "https://", and the port
    // written after the host when there is one (a port that is no number from 1 to 65535
    // fails the parse). A "?" is added to a path without one, then params are appended as
    // name=value pairs.
    bool ParseUrl(const std::string& url);

    std::string host;
    std::string path;
    bool secure = false;
    int port = 80;
    std::vector<std::pair<std::string, std::string>> params;
};
